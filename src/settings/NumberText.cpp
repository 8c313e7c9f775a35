#include "settings/NumberText.h"

#include <cmath>
#include <limits>

namespace {

bool isSkipped(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double leadingNumberOf(const QString& text) {
    // Gather the characters that make up the number, blanks left out, then convert them in
    // the C locale so that "." is the decimal point everywhere.
    QString number;
    qsizetype i = 0;
    const auto skip = [&] {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
    };
    const auto digits = [&] {
        qsizetype count = 0;
        for (skip(); i < text.size() && isDigit(text[i]); skip(), ++count)
            number.append(text[i++]);
        return count;
    };

    skip();
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number.append(text[i++]);
    qsizetype mantissaDigits = digits();
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        number.append(text[i++]);
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return 0.0;

    const qsizetype beforeExponent = i;
    const QString mantissa = number;
    if (i < text.size() && QStringLiteral("eEdD").contains(text[i])) {
        number.append(QLatin1Char('e'));
        ++i;
        skip();
        if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
            number.append(text[i++]);
        if (digits() == 0) {
            i = beforeExponent;
            number = mantissa;
        }
    }

    bool ok = false;
    const double value = number.toDouble(&ok); // QString::toDouble is locale-independent
    if (ok)
        return value;
    // Overflow of the exponent: the sign decides which infinity.
    return number.startsWith(QLatin1Char('-')) ? -std::numeric_limits<double>::infinity()
                                               : std::numeric_limits<double>::infinity();
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
