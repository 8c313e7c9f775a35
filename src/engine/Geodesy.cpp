#include "engine/Geodesy.h"

#include <cmath>
#include <limits>

#include "numbers/NumericText.h"

double Acos(double X) {
    if (X < -1.0)
        X = -1.0;
    if (X > 1.0)
        X = 1.0;
    if (X == 1.0)
        return 0.0;
    if (X == -1.0)
        return 2.0 * 2.0 * std::atan(1.0);
    return std::atan(-X / std::sqrt((-X) * X + 1.0)) + 2.0 * std::atan(1.0);
}

double calcDist(float sngLat1, float sngLong1, float sngLat2, float sngLong2) {
    const double pi = 4.0 * std::atan(1.0);
    const double degToRad = pi / 180.0;
    // The radians are kept in single precision, as the positions are.
    const float lat1 = static_cast<float>((sngLat1 / 60.0) * degToRad);
    const float lon1 = static_cast<float>((sngLong1 / 60.0) * degToRad);
    const float lat2 = static_cast<float>((sngLat2 / 60.0) * degToRad);
    const float lon2 = static_cast<float>((sngLong2 / 60.0) * degToRad);
    const double c =
        std::cos(double(lat2)) * std::cos(double(lat1)) * std::cos(double(lon2) - double(lon1)) +
        std::sin(double(lat2)) * std::sin(double(lat1));
    return (180.0 / pi * 111.12) * Acos(c);
}

namespace {

// A degree or minute piece: blanks around it allowed, then an optional sign and digits with
// at most one point; truncated towards zero. Empty when it is no number.
std::optional<int> wholeNumber(const QString& piece) {
    const QString text = piece.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    if (text.at(0) == u'+' || text.at(0) == u'-')
        ++i;
    bool digit = false;
    bool point = false;
    for (qsizetype j = i; j < text.size(); ++j) {
        const QChar c = text.at(j);
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    const double value = std::trunc(numericValue(text));
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<float> MakeLatLong(const QString& strL) {
    const qsizetype point = strL.indexOf(u'.');
    if (point < 0)
        return std::nullopt;
    const QString whole = strL.left(point);
    const QString fraction = strL.mid(point + 1, strL.size() - point - 2);
    const QChar hemisphere = strL.isEmpty() ? QChar() : strL.back();

    int degrees = 0;
    int minutes = 0;
    if (hemisphere == u'N' || hemisphere == u'S' || hemisphere == u'E' || hemisphere == u'W') {
        const int degreeDigits = (hemisphere == u'N' || hemisphere == u'S') ? 2 : 3;
        const auto d = wholeNumber(whole.mid(0, degreeDigits));
        const auto m = wholeNumber(whole.mid(degreeDigits, 2));
        if (!d || !m)
            return std::nullopt;
        degrees = *d;
        minutes = *m;
    }
    const int sum = degrees * 60 + minutes;
    if (sum < std::numeric_limits<qint16>::min() || sum > std::numeric_limits<qint16>::max())
        return std::nullopt;
    const double exact = sum + numericValue(fraction) / 100.0;
    // A fraction with an exponent ("5212.9e99N") can exceed what a float holds; such a field
    // would put the object at an infinite distance, so it cannot be converted either.
    if (!(std::fabs(exact) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    float value = static_cast<float>(exact);
    if (hemisphere == u'S' || hemisphere == u'W')
        value *= -1.0f;
    return value;
}
