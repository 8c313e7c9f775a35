// The numeric-value rule of the radius text (engine) and of stored settings (settings):
// the two copies must read every ordinary text alike.
#include <cfloat>
#include <cmath>

#include "FuzzInput.h"
#include "engine/SharedRules.h"
#include "settings/NumberText.h"

namespace {

// Zero or a normal double: outside that (overflow, underflow) the copies are allowed their
// own answer, and the engine's is fixed at 0.
bool ordinary(double value) {
    return value == 0.0 || std::fpclassify(value) == FP_NORMAL;
}

void check(const QString& text) {
    const double engine = numericValue(text);
    FUZZ_CHECK(std::isfinite(engine));
    const double settings = leadingNumberOf(text);
    FUZZ_CHECK(!std::isnan(settings));
    // The settings copy also skips CR, which no settings value holds (lines end there).
    if (!text.contains(u'\r') && ordinary(engine) && ordinary(settings))
        FUZZ_CHECK(engine == settings);
    // The distance mask shows any value the rule gives as digits.
    const QString shown = distanceText(engine, QLocale::c());
    FUZZ_CHECK(!shown.contains(u'n') && !shown.contains(u'e'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    check(QString::fromLatin1(bytes));
    check(QString::fromUtf8(bytes));
    return 0;
}
