#include "feed/AprsText.h"

#include <QStringDecoder>

namespace feed {

namespace {
constexpr int MaxNameLength = 9;
}

bool isStorableName(const QString& name) {
    if (name.isEmpty() || name.size() > MaxNameLength)
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7F || u == '|')
            return false;
    }
    return true;
}

bool isLoginCallsign(const QString& callsign) {
    if (callsign.isEmpty() || callsign.size() > MaxNameLength)
        return false;
    for (const QChar c : callsign) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
              u == '-'))
            return false;
    }
    return true;
}

QString cleanComment(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text;
}

} // namespace feed
