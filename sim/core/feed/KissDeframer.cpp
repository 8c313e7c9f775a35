#include "feed/KissDeframer.h"

namespace feed {

namespace {
constexpr char Fend = static_cast<char>(0xC0);
constexpr char Fesc = static_cast<char>(0xDB);
constexpr char Tfend = static_cast<char>(0xDC);
constexpr char Tfesc = static_cast<char>(0xDD);
} // namespace

QByteArray kissEncode(const QByteArray& data, int port) {
    QByteArray out;
    out.reserve(data.size() + 4);
    const auto put = [&out](char c) {
        if (c == Fend) {
            out.append(Fesc);
            out.append(Tfend);
        } else if (c == Fesc) {
            out.append(Fesc);
            out.append(Tfesc);
        } else {
            out.append(c);
        }
    };
    out.append(Fend);
    // The command byte is escaped like the data: port 12 makes it 0xC0, a FEND.
    put(static_cast<char>((port & 0x0F) << 4));
    for (const char c : data)
        put(c);
    out.append(Fend);
    return out;
}

void KissDeframer::reset() {
    m_buffer.clear();
    m_inFrame = false;
    m_escape = false;
    m_discard = false;
}

void KissDeframer::endFrame(QList<KissFrame>& out) {
    if (!m_discard && !m_buffer.isEmpty()) {
        const auto command = static_cast<unsigned char>(m_buffer[0]);
        if ((command & 0x0F) == 0) {
            out.append(KissFrame{command >> 4, m_buffer.mid(1)});
            ++m_counters.frames;
        } else {
            ++m_counters.nonData;
        }
    }
    m_buffer.clear();
    m_escape = false;
    m_discard = false;
}

QList<KissFrame> KissDeframer::feed(const QByteArray& bytes) {
    QList<KissFrame> out;
    for (const char c : bytes) {
        if (c == Fend) {
            // Back-to-back FENDs are idle fill, not empty frames.
            if (m_inFrame)
                endFrame(out);
            m_inFrame = true;
            continue;
        }
        // Bytes before the first FEND are the tail of a frame we joined halfway.
        if (!m_inFrame || m_discard)
            continue;
        char b = c;
        if (m_escape) {
            m_escape = false;
            if (c == Tfend) {
                b = Fend;
            } else if (c == Tfesc) {
                b = Fesc;
            } else {
                // Without a checksum in KISS, a broken escape is our only sign that the
                // frame is damaged: drop it rather than decode a guess.
                ++m_counters.badEscape;
                m_discard = true;
                m_buffer.clear();
                continue;
            }
        } else if (c == Fesc) {
            m_escape = true;
            continue;
        }
        if (m_buffer.size() >= m_maxFrame + 1) { // + 1 for the command byte
            ++m_counters.oversize;
            m_discard = true;
            m_buffer.clear();
            continue;
        }
        m_buffer.append(b);
    }
    return out;
}

} // namespace feed
