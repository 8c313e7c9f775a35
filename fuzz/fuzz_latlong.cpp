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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    check(QString::fromLatin1(bytes));
    check(QString::fromUtf8(bytes));
    return 0;
}
