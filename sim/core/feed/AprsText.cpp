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
        if (u <= 0x20 || u >= 0x7F || u == '|' || u == '*')
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

QString unusableNameText(const QString& name) {
    return QStringLiteral("unusable name \"%1\" (1 to %2 printable ASCII characters, no blank, "
                          "\"|\" or \"*\")")
        .arg(visibleText(name), QString::number(MaxNameLength));
}

QString visibleText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category != QChar::Other_Control && category != QChar::Separator_Line &&
            category != QChar::Separator_Paragraph) {
            out += c;
            continue;
        }
        switch (c.unicode()) {
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c.unicode() <= 0xff
                       ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                       : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return out;
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
