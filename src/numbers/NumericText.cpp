#include "numbers/NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isSkippedBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

double numericValue(const QString& text) {
    // Gather the leading number with the blanks taken out, then convert it in one go;
    // std::from_chars ignores the C locale, so "." is the point even under a German locale.
    std::string number;
    number.reserve(32);
    bool negative = false;
    bool signSeen = false;
    bool digitSeen = false;
    bool pointSeen = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (isSkippedBlank(c))
            continue;
        if (!signSeen && !digitSeen && !pointSeen && (c == u'-' || c == u'+')) {
            signSeen = true;
            negative = c == u'-';
            continue;
        }
        if (isDigit(c)) {
            digitSeen = true;
            number.push_back(char(c.unicode()));
            continue;
        }
        if (c == u'.' && !pointSeen) {
            pointSeen = true;
            number.push_back('.');
            continue;
        }
        break;
    }
    if (!digitSeen)
        return 0.0;
    // An exponent counts only when at least one digit follows its optional sign.
    if (i < n) {
        const QChar e = text.at(i);
        if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
            std::string exponent = "e";
            bool expDigit = false;
            bool expSign = false;
            for (qsizetype j = i + 1; j < n; ++j) {
                const QChar c = text.at(j);
                if (isSkippedBlank(c))
                    continue;
                if (!expSign && !expDigit && (c == u'-' || c == u'+')) {
                    expSign = true;
                    exponent.push_back(char(c.unicode()));
                    continue;
                }
                if (isDigit(c)) {
                    expDigit = true;
                    exponent.push_back(char(c.unicode()));
                    continue;
                }
                break;
            }
            if (expDigit)
                number += exponent;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

QString distanceText(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    // text now ends in the point or a non-zero decimal; the point is always there.
    bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    if (text == QLatin1String("."))
        negative = false; // a negative value that rounds to nothing is shown as nothing
    text.replace(text.indexOf(u'.'), 1, locale.decimalPoint());
    return negative ? QLatin1Char('-') + text : text;
}

std::int16_t toInt16Rounded(double value) {
    if (std::isnan(value))
        return 0;
    // Round before clamping, so that 32767.5 (which rounds to 32768) is held to 32767.
    const double rounded = std::nearbyint(value); // the default mode rounds a half to even
    if (rounded <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (rounded >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}
