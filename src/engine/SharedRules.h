#pragma once

#include <QLocale>
#include <QString>

// The numeric value of a text as the original's Val read it: the leading decimal number,
// "." as decimal point whatever the locale, blanks, tabs and line feeds skipped wherever they
// stand ("1 000" is 1000), an optional sign and exponent ("1e3" is 1000). A text without a
// leading number gives 0, and so does a number too large or too small for a double
// ("1e999"): nothing is within a radius that cannot be read.
double numericValue(const QString& text);

// A distance in the mask "######.###": at most three decimals, rounded; no leading zero
// (.25); trailing zeros dropped but the separator kept (12.); the locale's decimal separator.
QString distanceText(double value, const QLocale& locale = QLocale());
