#include "feed/ReplaySource.h"

#include <QDir>
#include <QFileInfo>

namespace feed {

namespace {
// A paced replay wakes this often and plays the lines that fell due since the last time.
constexpr int PacedTickMs = 10;
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
    const QByteArray line = m_file.readLine();
    if (line.isEmpty()) { // the end of the file (a blank line still holds its line end)
        m_timer.stop();
        m_finished = true;
        m_file.close();
        emit replayFinished();
        return false;
    }
    ++m_lines;
    bytesArrived(line);
    return true;
}

void ReplaySource::bytesArrived(const QByteArray& bytes) {
    QByteArray line = bytes;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    handleTnc2Line(line);
}

} // namespace feed
