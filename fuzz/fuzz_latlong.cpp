// MakeLatLong: a position field of an overlay line, as Latin-1 and as UTF-8 text.
#include <cmath>

#include "FuzzInput.h"
#include "engine/Geodesy.h"

namespace {

void check(const QString& field) {
    const std::optional<float> value = MakeLatLong(field);
    if (!value)
        return;
    // The fraction may add any finite amount; an angle the distance cannot use is refused.
    FUZZ_CHECK(std::isfinite(*value));
}

} // namespace

FUZZ_TEXT_TARGET(check)
