#include "feed/Ax25Frame.h"

namespace feed {

namespace {

constexpr int AddressLength = 7;
constexpr int MaxAddresses = 10; // destination, source, eight digipeaters
constexpr char ControlUi = 0x03;
constexpr char PidNoLayer3 = static_cast<char>(0xF0);

bool isCallChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Reads the 7 bytes at offset; false when the callsign is not a valid on-air callsign.
bool decodeAddress(const QByteArray& bytes, int offset, Ax25Address& out) {
    QString call;
    bool blankSeen = false;
    for (int i = 0; i < 6; ++i) {
        const auto b = static_cast<unsigned char>(bytes[offset + i]);
        // The low bit is the address-end bit of the SSID byte only; set here, the
        // frame is out of step and nothing after it can be trusted.
        if (b & 0x01)
            return false;
        const char c = static_cast<char>(b >> 1);
        if (c == ' ') {
            blankSeen = true;
            continue;
        }
        if (blankSeen || !isCallChar(c))
            return false;
        call += QLatin1Char(c);
    }
    if (call.isEmpty())
        return false;
    const auto ssidByte = static_cast<unsigned char>(bytes[offset + 6]);
    out.callsign = call;
    out.ssid = (ssidByte >> 1) & 0x0F;
    out.repeated = (ssidByte & 0x80) != 0;
    return true;
}

bool encodeAddress(const Ax25Address& a, bool last, bool isDigi, QByteArray& out) {
    if (a.callsign.isEmpty() || a.callsign.size() > 6 || a.ssid < 0 || a.ssid > 15)
        return false;
    for (int i = 0; i < 6; ++i) {
        char c = ' ';
        if (i < a.callsign.size()) {
            const QChar q = a.callsign[i];
            if (q.unicode() > 127 || !isCallChar(static_cast<char>(q.unicode())))
                return false;
            c = static_cast<char>(q.unicode());
        }
        out.append(static_cast<char>(c << 1));
    }
    unsigned char ssid = 0x60 | static_cast<unsigned char>(a.ssid << 1);
    if (isDigi && a.repeated)
        ssid |= 0x80;
    if (last)
        ssid |= 0x01;
    out.append(static_cast<char>(ssid));
    return true;
}

} // namespace

QString Ax25Address::text() const {
    if (ssid == 0)
        return callsign;
    return callsign + QLatin1Char('-') + QString::number(ssid);
}

QString ax25ErrorText(Ax25Error error) {
    switch (error) {
    case Ax25Error::None:
        return QStringLiteral("ok");
    case Ax25Error::TooShort:
        return QStringLiteral("frame too short");
    case Ax25Error::BadAddress:
        return QStringLiteral("invalid address");
    case Ax25Error::NoAddressEnd:
        return QStringLiteral("address field does not end");
    case Ax25Error::NotUi:
        return QStringLiteral("not a UI frame");
    case Ax25Error::NotAprs:
        return QStringLiteral("protocol id is not 0xF0");
    }
    return {};
}

Ax25Result decodeAx25(const QByteArray& bytes) {
    Ax25Result r;
    if (bytes.size() < 2 * AddressLength + 2) {
        r.error = Ax25Error::TooShort;
        return r;
    }
    int count = 0;
    bool ended = false;
    while (!ended) {
        const int offset = count * AddressLength;
        if (count == MaxAddresses) {
            r.error = Ax25Error::NoAddressEnd;
            return r;
        }
        if (offset + AddressLength > bytes.size()) {
            r.error = Ax25Error::TooShort;
            return r;
        }
        Ax25Address a;
        if (!decodeAddress(bytes, offset, a)) {
            r.error = Ax25Error::BadAddress;
            return r;
        }
        ended = (static_cast<unsigned char>(bytes[offset + 6]) & 0x01) != 0;
        if (count == 0) {
            a.repeated = false; // command/response bit, not a repeat mark
            r.frame.destination = a;
        } else if (count == 1) {
            a.repeated = false;
            r.frame.source = a;
        } else {
            r.frame.path.append(a);
        }
        ++count;
        if (ended && count < 2) {
            r.error = Ax25Error::BadAddress;
            return r;
        }
    }
    const int control = count * AddressLength;
    if (control + 2 > bytes.size()) {
        r.error = Ax25Error::TooShort;
        return r;
    }
    if (bytes[control] != ControlUi) {
        r.error = Ax25Error::NotUi;
        return r;
    }
    if (bytes[control + 1] != PidNoLayer3) {
        r.error = Ax25Error::NotAprs;
        return r;
    }
    r.frame.info = bytes.mid(control + 2);
    return r;
}

QByteArray encodeAx25(const Ax25Frame& frame) {
    if (frame.path.size() > MaxAddresses - 2)
        return {};
    QByteArray out;
    if (!encodeAddress(frame.destination, false, false, out) ||
        !encodeAddress(frame.source, frame.path.isEmpty(), false, out))
        return {};
    for (int i = 0; i < frame.path.size(); ++i) {
        if (!encodeAddress(frame.path[i], i == frame.path.size() - 1, true, out))
            return {};
    }
    out.append(ControlUi);
    out.append(PidNoLayer3);
    out.append(frame.info);
    return out;
}

} // namespace feed
