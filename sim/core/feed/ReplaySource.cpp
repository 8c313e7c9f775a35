#include "feed/ReplaySource.h"

#include <QDir>
#include <QFileInfo>

namespace feed {

namespace {
// A paced replay wakes this often and plays the lines that fell due since the last time.
constexpr int PacedTickMs = 10;
// The file is read in pieces of this size, so that a line without end is never held whole.
constexpr qint64 PieceBytes = 64 * 1024;
} // namespace

ReplaySource::ReplaySource(QObject* parent) : FeedLink(parent) {
    connect(&m_timer, &QTimer::timeout, this, &ReplaySource::playSlice);
}

bool ReplaySource::play(const QString& path, int linesPerSecond, QString* error) {
    m_timer.stop();
    m_file.close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the replay file '%1': %2")
                     .arg(QDir::toNativeSeparators(path), m_file.errorString());
        return false;
    }
    m_rate = linesPerSecond;
    m_reader.reset();
    m_pending.clear();
    m_next = 0;
    m_lines = 0;
    m_finished = false;
    m_clock.start();
    m_timer.start(m_rate == 0 ? 0 : PacedTickMs);
    return true;
}

QString ReplaySource::replayText() const {
    const QString name = QFileInfo(m_file.fileName()).fileName();
    if (m_finished)
        return QStringLiteral("replay %1: done, %2 lines").arg(name).arg(m_lines);
    return QStringLiteral("replay %1: %2 lines").arg(name).arg(m_lines);
}

void ReplaySource::playSlice() {
    if (m_rate == 0) {
        QElapsedTimer slice;
        slice.start();
        while (slice.elapsed() < SliceMs) {
            // The clock is read once every few lines: a line decodes in microseconds.
            for (int i = 0; i < 64; ++i) {
                if (!playLine())
                    return;
            }
        }
        return;
    }
    const quint64 due = quint64(m_clock.elapsed()) * quint64(m_rate) / 1000;
    while (m_lines < due) {
        if (!playLine())
            return;
    }
}

bool ReplaySource::playLine() {
    while (m_next == m_pending.size()) {
        m_pending.clear();
        m_next = 0;
        const QByteArray piece = m_file.read(PieceBytes);
        if (!piece.isEmpty()) {
            bytesArrived(piece);
            continue;
        }
        // The end of the file; its last line may have no line end.
        const QByteArray last = m_reader.finish();
        if (!last.isEmpty()) {
            m_pending.append(last);
            break;
        }
        m_timer.stop();
        m_finished = true;
        m_file.close();
        emit replayFinished();
        return false;
    }
    ++m_lines;
    handleTnc2Line(m_pending.at(m_next++));
    return true;
}

void ReplaySource::bytesArrived(const QByteArray& bytes) {
    const quint64 tooLongBefore = m_reader.tooLong();
    m_pending += m_reader.feed(bytes);
    for (quint64 i = tooLongBefore; i < m_reader.tooLong(); ++i) {
        ++m_lines;
        countDropped(QStringLiteral("line too long"));
    }
}

} // namespace feed
