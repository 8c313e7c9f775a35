#include "alerts/LineEscape.h"

QString escapeForLine(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        const bool plain = c.isPrint() && code != u'|' && code != u'\\' && code != u'\t';
        if (plain) {
            escaped += c;
        } else if (code <= 0xFF) {
            escaped += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0')).toUpper().replace(u"\\X"_qs, u"\\x"_qs);
        } else {
            escaped += QStringLiteral("\\u{%1}").arg(code, 4, 16, QLatin1Char('0')).toUpper().replace(u"\\U"_qs, u"\\u"_qs);
        }
    }
    return escaped;
}
