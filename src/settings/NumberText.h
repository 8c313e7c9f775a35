#pragma once

#include <QString>

#include <cstdint>

// The numeric value of a stored text: its leading decimal number ("." as decimal point
// whatever the locale, blanks skipped, an optional exponent); 0 when it starts with no
// number. The engine has the same rule for the radius text; settings keeps its own copy so
// that it does not depend on the engine.
double leadingNumberOf(const QString& text);

// A position as the 16-bit fields and the settings file keep it: rounded to the nearest whole
// number (a half to the even neighbour) and held to [-32768, 32767]; NaN gives 0. Two
// monitors side by side put a window well past what 16 bits hold in twips.
std::int16_t toInt16Rounded(double value);
