// The radio feed's KISS path: a TCP byte stream cut anywhere, the AX.25 frames it carries and
// the APRS positions in them. Input: one byte that sets where the stream is cut, then the
// stream.
#include <cmath>

#include "FuzzInput.h"
#include "feed/AprsDecoder.h"
#include "feed/Ax25Frame.h"
#include "feed/KissDeframer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const qsizetype piece = 1 + data[0];
    const QByteArray stream = fuzzBytes(data + 1, size - 1);

    feed::KissDeframer whole;
    const QList<feed::KissFrame> frames = whole.feed(stream);
    feed::KissDeframer cut;
    QList<feed::KissFrame> pieces;
    for (qsizetype at = 0; at < stream.size(); at += piece)
        pieces += cut.feed(stream.mid(at, piece));
    // Where the stream is cut does not change what comes out.
    FUZZ_CHECK(pieces.size() == frames.size());
    for (qsizetype i = 0; i < frames.size(); ++i) {
        FUZZ_CHECK(pieces[i].data == frames[i].data && pieces[i].port == frames[i].port);
        FUZZ_CHECK(frames[i].data.size() <= feed::KissDeframer::DefaultMaxFrame);
    }

    for (const feed::KissFrame& frame : frames) {
        // Encoding a frame and taking it out again gives the same bytes.
        feed::KissDeframer again;
        const QList<feed::KissFrame> back = again.feed(feed::kissEncode(frame.data, frame.port));
        FUZZ_CHECK(back.size() == 1 && back[0].data == frame.data && back[0].port == frame.port);

        const feed::Ax25Result ax25 = feed::decodeAx25(frame.data);
        if (!ax25.ok())
            continue;
        const feed::AprsResult aprs = feed::decodeAprs(ax25.frame);
        if (!aprs.ok())
            continue;
        const feed::PositionReport& report = aprs.report;
        FUZZ_CHECK(!report.name.isEmpty());
        FUZZ_CHECK(std::fabs(report.latitude) <= 90.0 && std::fabs(report.longitude) <= 180.0);
    }
    return 0;
}
