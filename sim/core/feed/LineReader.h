#pragma once

#include <QByteArray>
#include <QList>

namespace feed {

// APRS-IS servers cut their lines at this many bytes. Every feed that reads lines (APRS-IS,
// gpsd, a replayed file) takes the same bound, so no feed hands on more than a server would.
inline constexpr int MaxFeedLine = 10240;

// Cuts a byte stream into lines ending in LF (a CR before it is dropped). A line longer
// than the limit is thrown away whole, up to its line end, and counted: a server that
// never sends a line end must not make us buffer without end.
class LineReader final {
public:
    explicit LineReader(int maxLine = MaxFeedLine) : m_maxLine(maxLine) {}

    QList<QByteArray> feed(const QByteArray& bytes);
    // The end of the input: the last line when it had no line end (empty when there is
    // none, or when it was too long). The reader starts over afterwards.
    QByteArray finish();
    void reset();

    quint64 tooLong() const { return m_tooLong; }

private:
    int m_maxLine;
    QByteArray m_buffer;
    bool m_skipping = false; // inside a line that is already too long
    quint64 m_tooLong = 0;
};

} // namespace feed
