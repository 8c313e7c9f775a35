#pragma once

#include <QByteArray>
#include <QList>

namespace feed {

// One data frame taken out of a KISS byte stream.
struct KissFrame {
    int port = 0; // the TNC's radio port, high nibble of the command byte
    QByteArray data;
};

// Wraps data in a KISS data frame (FEND, command, escaped data, FEND).
QByteArray kissEncode(const QByteArray& data, int port = 0);

// Takes KISS frames out of a TCP byte stream that may cut them anywhere. Only data frames
// (command 0) come out; the rest is counted. A frame that grows beyond the limit is
// dropped as a whole, so a TNC (or anything else on the port) that never sends FEND
// cannot make us hold an unbounded buffer.
class KissDeframer final {
public:
    // An AX.25 frame is at most 10 addresses, control, PID and 256 bytes of information.
    static constexpr int DefaultMaxFrame = 1024;

    struct Counters {
        quint64 frames = 0;    // data frames handed out
        quint64 nonData = 0;   // frames with a command other than 0 (TXDELAY, ...)
        quint64 oversize = 0;  // frames dropped for their length
        quint64 badEscape = 0; // frames dropped for FESC followed by neither TFEND nor TFESC
    };

    explicit KissDeframer(int maxFrame = DefaultMaxFrame) : m_maxFrame(maxFrame) {}

    // Feeds the next bytes; returns the data frames they complete, in order.
    QList<KissFrame> feed(const QByteArray& bytes);
    // Forgets a half-read frame (a new connection starts clean).
    void reset();

    const Counters& counters() const { return m_counters; }

private:
    void endFrame(QList<KissFrame>& out);

    int m_maxFrame;
    QByteArray m_buffer;
    bool m_inFrame = false; // a FEND has been seen: bytes belong to a frame
    bool m_escape = false;  // the previous byte was FESC
    bool m_discard = false; // this frame is already lost; wait for the next FEND
    Counters m_counters;
};

} // namespace feed
