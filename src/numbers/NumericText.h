#pragma once

#include <cstdint>

#include <QLocale>
#include <QString>

// The rules by which Ringwarden reads numbers typed or stored as text and writes distances.

// The leading decimal number of a text: "." as decimal point whatever the locale, blanks,
// tabs and line feeds skipped wherever they stand ("1 000" is 1000), an optional sign and
// exponent ("1e3" is 1000). A text without a leading number gives 0, and so does a number too
// large or too small for a double ("1e999"): nothing is within a radius that cannot be read.
double numericValue(const QString& text);

// A distance in the mask "######.###": at most three decimals, rounded; no leading zero
// (.25); trailing zeros dropped but the separator kept (12.); the locale's decimal separator.
QString distanceText(double value, const QLocale& locale = QLocale());

// A position as the 16-bit fields and the settings file keep it: rounded to the nearest whole
// number (a half to the even neighbour) and held to [-32768, 32767]; NaN gives 0. Two
// monitors side by side put a window well past what 16 bits hold in twips.
std::int16_t toInt16Rounded(double value);
