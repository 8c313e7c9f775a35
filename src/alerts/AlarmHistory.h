#pragma once

#include <functional>
#include <optional>

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

// What the history records.
enum class HistoryEvent { Entered, Left, Acked, Rearmed, WatchAdded, WatchDeleted };

// The word a history line names the event with: entered, left, acked, rearmed, watch-added,
// watch-deleted.
QString historyEventName(HistoryEvent event);

// One line of the history as written: the callsign escaped (escapeForLine), so that what a
// hostile feed sent shows as text rather than acting on the window.
struct HistoryEntry {
    QDateTime time; // UTC
    QString event;
    QString callsign;
    QString distanceText; // empty when the event has none

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// A history line: "2026-03-01T12:00:00Z|entered|PD1AAA|2.5" (the last field only with a
// distance), and back; an unreadable line gives nothing.
QString historyLine(const HistoryEntry& entry);
std::optional<HistoryEntry> parseHistoryLine(const QString& line);

// Ringwarden.HST: one line per event, appended and flushed as it happens so that a crash
// loses nothing already recorded. The file is rotated before it would pass 1 MiB, keeping
// one older file beside it (path + ".1"). A file that cannot be written is told once (until
// a line goes through again) and never stops the alarm.
class AlarmHistory final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmHistory)
public:
    static constexpr qint64 kRotateBytes = 1024 * 1024;

    // What "now" is for a line's time stamp; a test gives a fixed one.
    using Clock = std::function<QDateTime()>;

    explicit AlarmHistory(QString path, QObject* parent = nullptr);
    AlarmHistory(QString path, Clock clock, QObject* parent = nullptr);
    ~AlarmHistory() override;

    QString path() const { return m_path; }

    // Records the event now; false when it could not be written.
    bool append(HistoryEvent event, const QString& callsign, const QString& distanceText = {});

    // The last `count` events of the history at `path` (its ".1" too when needed), newest
    // first; lines that cannot be read are left out.
    static QList<HistoryEntry> readLast(const QString& path, int count);

signals:
    // A line went into the file (as it will be read back).
    void appended(const HistoryEntry& entry);
    // The history cannot be written (the text names the file and the reason).
    void writeFailed(const QString& message);

private:
    bool writeLine(const QByteArray& line);
    bool rotate();
    void fail(const QString& reason);

    QString m_path;
    Clock m_clock;
    bool m_failureTold = false;
};
