#include "update/UpdateVersion.h"

#include <algorithm>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The decimal digits after the point that minor stands for, trailing zeros dropped:
// minor 10 is the fraction .1, minor 0 no fraction at all.
QString fractionDigits(int minor) {
    QString digits = QString::number(minor);
    while (!digits.isEmpty() && digits.endsWith(u'0'))
        digits.chop(1);
    return digits;
}

} // namespace

std::optional<int> readVersionPiece(QStringView piece) {
    bool negative = false;
    bool signSeen = false;
    bool digitSeen = false;
    long long value = 0;
    for (const QChar c : piece) {
        if (isBlank(c))
            continue;
        if (!digitSeen && !signSeen && (c == u'-' || c == u'+')) {
            signSeen = true;
            negative = c == u'-';
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        digitSeen = true;
        value = value * 10 + (c.unicode() - u'0');
        // Stop counting long before the value could overflow; it is out of range anyway.
        if (value > kLargestVersionPiece)
            return std::nullopt;
    }
    if (negative && value != 0)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<UpdateVersion> parseVersionText(QStringView text) {
    const qsizetype firstDot = text.indexOf(u'.');
    if (firstDot < 0)
        return std::nullopt;
    const qsizetype secondDot = text.indexOf(u'.', firstDot + 1);
    if (secondDot < 0)
        return std::nullopt;
    const qsizetype blank = text.indexOf(u' ', secondDot + 1);
    if (blank < 0)
        return std::nullopt;
    const auto major = readVersionPiece(text.first(firstDot));
    const auto minor = readVersionPiece(text.sliced(firstDot + 1, secondDot - firstDot - 1));
    const auto revision = readVersionPiece(text.sliced(secondDot + 1, blank - secondDot - 1));
    if (!major || !minor || !revision)
        return std::nullopt;
    return UpdateVersion{*major, *minor, *revision};
}

int compareVersionValues(int majorA, int minorA, int majorB, int minorB) {
    if (majorA != majorB)
        return majorA < majorB ? -1 : 1;
    // Equal whole parts: compare the fractions digit by digit, the shorter padded with
    // zeros, which is exact where a floating-point sum would not be.
    QString a = fractionDigits(minorA);
    QString b = fractionDigits(minorB);
    const qsizetype width = std::max(a.size(), b.size());
    a = a.leftJustified(width, u'0');
    b = b.leftJustified(width, u'0');
    return a.compare(b);
}

bool isNewerVersion(const UpdateVersion& published, const UpdateVersion& own) {
    const int byValue =
        compareVersionValues(published.major, published.minor, own.major, own.minor);
    if (byValue != 0)
        return byValue > 0;
    return published.revision > own.revision;
}

QString versionValueText(int major, int minor, const QString& decimalPoint) {
    const QString fraction = fractionDigits(minor);
    if (fraction.isEmpty())
        return QString::number(major);
    return QString::number(major) + decimalPoint + fraction;
}

QString versionDottedText(const UpdateVersion& version) {
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}
