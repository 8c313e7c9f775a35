#include "alerts/LineEscape.h"

namespace {

void appendEscape(QString& out, char32_t code) {
    if (code <= 0xFF)
        out += QStringLiteral("\\x%1").arg(uint(code), 2, 16, QLatin1Char('0')).toUpper();
    else
        out += QStringLiteral("\\u{%1}").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    // The upper-casing above also caught the escape's own letter.
    out[out.lastIndexOf(QLatin1Char('\\')) + 1] = code <= 0xFF ? u'x' : u'u';
}

// Qt counts the line and paragraph separators as printable; a viewer may still break there.
bool plain(char32_t code) {
    if (code == u'|' || code == u'\\' || code == u'\t' || !QChar::isPrint(code))
        return false;
    const QChar::Category category = QChar::category(code);
    return category != QChar::Separator_Line && category != QChar::Separator_Paragraph;
}

} // namespace

QString escapeForLine(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A pair of surrogates is one character (an emoji stays as it is); a lone half is not.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text.at(i + 1));
            if (plain(code)) {
                escaped += c;
                escaped += text.at(i + 1);
            } else {
                appendEscape(escaped, code);
            }
            ++i;
            continue;
        }
        if (plain(c.unicode()))
            escaped += c;
        else
            appendEscape(escaped, c.unicode());
    }
    return escaped;
}
