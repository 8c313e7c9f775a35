#include "feed/HostPort.h"

namespace feed {

bool parseHostPort(const QString& text, QString& host, quint16& port) {
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString h = text.left(colon);
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    else if (h.contains(QLatin1Char(':')))
        return false; // a bare IPv6 address needs brackets to tell its colons from the port
    if (h.isEmpty())
        return false;
    for (const QChar c : h) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            return false;
    }
    const QString digits = text.mid(colon + 1);
    if (digits.isEmpty() || digits.size() > 5)
        return false;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const uint value = digits.toUInt();
    if (value == 0 || value > 65535)
        return false;
    host = h;
    port = static_cast<quint16>(value);
    return true;
}

} // namespace feed
