// Overlay files: object lines ("NAME!5212.34N 00455.12E text") and their continuation lines.
// Input: one byte that sets the running count of objects before this file, then the file.
#include <cmath>

#include "FuzzInput.h"
#include "engine/OverlayItems.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // 0..2550: the running count may already be at or near the end of the table.
    const int before =
        int(data[0]) * 10 > OverlayTable::kMaxItems ? OverlayTable::kMaxItems : int(data[0]) * 10;
    const QByteArray content = fuzzBytes(data + 1, size - 1);

    OverlayTable table;
    const int count = readOverlayObjects(content, table, before);
    FUZZ_CHECK(count >= before && count <= OverlayTable::kMaxItems);
    FUZZ_CHECK(table.gOverlayItems.size() == size_t(OverlayTable::kMaxItems) + 1);
    for (int i = before + 1; i <= count; ++i) {
        const OverlayItem& item = table.gOverlayItems[size_t(i)];
        FUZZ_CHECK(item.strName.size() <= 8);
        FUZZ_CHECK(!item.strName.contains(u'*'));
        FUZZ_CHECK(std::isfinite(item.sngLat) && std::isfinite(item.sngLong));
    }
    return 0;
}
