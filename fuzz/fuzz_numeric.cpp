// The numeric-value rule of typed and stored numbers, and the distance mask over what it gives.
#include <cmath>

#include "FuzzInput.h"
#include "numbers/NumericText.h"

namespace {

void check(const QString& text) {
    const double value = numericValue(text);
    FUZZ_CHECK(std::isfinite(value));
    // The distance mask shows any value the rule gives as digits.
    const QString shown = distanceText(value, QLocale::c());
    FUZZ_CHECK(!shown.contains(u'n') && !shown.contains(u'e'));
    const std::int16_t position = toInt16Rounded(value);
    FUZZ_CHECK(position >= -32768 && position <= 32767);
}

} // namespace

FUZZ_TEXT_TARGET(check)
