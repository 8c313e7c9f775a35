// The radio feed's APRS decoder on text packets as APRS-IS and TNC2 monitors give them.
#include <algorithm>
#include <cmath>

#include "FuzzInput.h"
#include "feed/AprsDecoder.h"
#include "feed/AprsText.h"
#include "feed/Tnc2.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray line = fuzzBytes(data, size);
    const feed::Tnc2Result parsed = feed::parseTnc2(line);
    if (!parsed.ok())
        return 0;
    // The text form of a parsed packet parses to the same packet.
    const feed::Tnc2Result again = feed::parseTnc2(feed::formatTnc2(parsed.frame));
    FUZZ_CHECK(again.ok() && again.frame == parsed.frame);

    const feed::AprsResult aprs = feed::decodeAprs(parsed.frame);
    if (!aprs.ok())
        return 0;
    const feed::PositionReport& report = aprs.report;
    FUZZ_CHECK(std::isfinite(report.latitude) && std::isfinite(report.longitude));
    FUZZ_CHECK(std::fabs(report.latitude) <= 90.0 && std::fabs(report.longitude) <= 180.0);
    FUZZ_CHECK(report.ambiguity >= 0 && report.ambiguity <= 4);
    // The name goes into the host's list and its entry texts: one the list may hold.
    FUZZ_CHECK(feed::isStorableName(report.name));
    FUZZ_CHECK(std::none_of(report.comment.begin(), report.comment.end(),
                            [](QChar c) { return c.category() == QChar::Other_Control; }));
    return 0;
}
