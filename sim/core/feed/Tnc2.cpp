#include "feed/Tnc2.h"

namespace feed {

namespace {

constexpr int MaxAddressText = 9;

bool isAddressChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

bool isUpperCallChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Splits "CALL-SSID" into its parts when it is an on-air address; anything else that is
// still a plausible APRS-IS name is kept whole.
bool parseAddress(QByteArray token, Ax25Address& out) {
    if (token.isEmpty() || token.size() > MaxAddressText)
        return false;
    for (const char c : token) {
        if (!isAddressChar(c))
            return false;
    }
    out = Ax25Address{};
    const int dash = token.indexOf('-');
    const QByteArray call = dash < 0 ? token : token.left(dash);
    const QByteArray ssid = dash < 0 ? QByteArray() : token.mid(dash + 1);
    bool onAir = !call.isEmpty() && call.size() <= 6 && token.count('-') <= 1;
    for (const char c : call)
        onAir = onAir && isUpperCallChar(c);
    int ssidValue = 0;
    if (onAir && dash >= 0) {
        bool numeric = !ssid.isEmpty() && ssid.size() <= 2 && !ssid.startsWith('0');
        for (const char c : ssid)
            numeric = numeric && c >= '0' && c <= '9';
        ssidValue = numeric ? ssid.toInt() : -1;
        onAir = numeric && ssidValue >= 1 && ssidValue <= 15;
    }
    if (onAir) {
        out.callsign = QString::fromLatin1(call);
        out.ssid = ssidValue;
    } else {
        if (token.startsWith('-') || token.endsWith('-'))
            return false;
        out.callsign = QString::fromLatin1(token);
    }
    return true;
}

} // namespace

QString tnc2ErrorText(Tnc2Error error) {
    switch (error) {
    case Tnc2Error::None:
        return QStringLiteral("ok");
    case Tnc2Error::NoHeader:
        return QStringLiteral("no header");
    case Tnc2Error::BadSource:
        return QStringLiteral("invalid source");
    case Tnc2Error::BadDestination:
        return QStringLiteral("invalid destination");
    case Tnc2Error::BadPath:
        return QStringLiteral("invalid path");
    }
    return {};
}

Tnc2Result parseTnc2(const QByteArray& line) {
    Tnc2Result r;
    const int colon = line.indexOf(':');
    const int gt = line.indexOf('>');
    if (colon < 0 || gt < 0 || gt > colon) {
        r.error = Tnc2Error::NoHeader;
        return r;
    }
    if (!parseAddress(line.left(gt), r.frame.source)) {
        r.error = Tnc2Error::BadSource;
        return r;
    }
    const QList<QByteArray> parts = line.mid(gt + 1, colon - gt - 1).split(',');
    if (!parseAddress(parts.first(), r.frame.destination)) {
        r.error = Tnc2Error::BadDestination;
        return r;
    }
    int lastRepeated = -1;
    for (int i = 1; i < parts.size(); ++i) {
        QByteArray token = parts[i];
        if (token.endsWith('*')) {
            token.chop(1);
            lastRepeated = i - 1;
        }
        Ax25Address a;
        if (!parseAddress(token, a)) {
            r.error = Tnc2Error::BadPath;
            return r;
        }
        r.frame.path.append(a);
    }
    for (int i = 0; i <= lastRepeated; ++i)
        r.frame.path[i].repeated = true;
    r.frame.info = line.mid(colon + 1);
    return r;
}

QByteArray formatTnc2(const Ax25Frame& frame) {
    QByteArray out = frame.source.text().toLatin1() + '>' + frame.destination.text().toLatin1();
    int lastRepeated = -1;
    for (int i = 0; i < frame.path.size(); ++i) {
        if (frame.path[i].repeated)
            lastRepeated = i;
    }
    for (int i = 0; i < frame.path.size(); ++i) {
        out += ',' + frame.path[i].text().toLatin1();
        if (i == lastRepeated)
            out += '*';
    }
    out += ':' + frame.info;
    return out;
}

} // namespace feed
