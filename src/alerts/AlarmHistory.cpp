#include "alerts/AlarmHistory.h"

#include <QDir>

#include "alerts/LineEscape.h"

namespace {

constexpr char16_t kSeparator = u'|';

QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

QString historyEventName(HistoryEvent event) {
    switch (event) {
    case HistoryEvent::Entered:
        return QStringLiteral("entered");
    case HistoryEvent::Left:
        return QStringLiteral("left");
    case HistoryEvent::Acked:
        return QStringLiteral("acked");
    case HistoryEvent::Rearmed:
        return QStringLiteral("rearmed");
    case HistoryEvent::WatchAdded:
        return QStringLiteral("watch-added");
    case HistoryEvent::WatchDeleted:
        return QStringLiteral("watch-deleted");
    }
    return {};
}

QString historyLine(const HistoryEntry& entry) {
    QString line = entry.time.toUTC().toString(Qt::ISODate) + kSeparator + entry.event +
                   kSeparator + entry.callsign;
    if (!entry.distanceText.isEmpty())
        line += kSeparator + entry.distanceText;
    return line;
}

std::optional<HistoryEntry> parseHistoryLine(const QString& line) {
    const QStringList fields = line.split(kSeparator);
    if (fields.size() < 3 || fields.size() > 4)
        return std::nullopt;
    QDateTime time = QDateTime::fromString(fields.at(0), Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    return HistoryEntry{time.toUTC(), fields.at(1), fields.at(2), fields.value(3)};
}

AlarmHistory::AlarmHistory(QString path, QObject* parent)
    : AlarmHistory(std::move(path), &QDateTime::currentDateTimeUtc, parent) {}

AlarmHistory::AlarmHistory(QString path, Clock clock, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_clock(std::move(clock)) {}

AlarmHistory::~AlarmHistory() = default;

bool AlarmHistory::append(HistoryEvent event, const QString& callsign,
                          const QString& distanceText) {
    const HistoryEntry entry{m_clock().toUTC(), historyEventName(event), escapeForLine(callsign),
                             escapeForLine(distanceText)};
    if (!writeLine(historyLine(entry).toUtf8() + '\n'))
        return false;
    m_failureTold = false;
    // As the file will give it back: to the second.
    if (const auto written = parseHistoryLine(historyLine(entry)))
        emit appended(*written);
    return true;
}

// Opened for each line, so that a file removed or replaced meanwhile is written anew
// rather than into a deleted one.
bool AlarmHistory::writeLine(const QByteArray& line) {
    QFile file(m_path);
    const qint64 size = file.size();
    if (size > 0 && size + line.size() > kRotateBytes && !rotate())
        return false;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        fail(file.errorString());
        return false;
    }
    // A file whose last line was cut short (a full disk, a crash) gets a line end first, so
    // that the new record is not glued to it and lost with it.
    QByteArray record = line;
    char last = '\n';
    if (file.size() > 0 && (!file.seek(file.size() - 1) || !file.getChar(&last))) {
        fail(file.errorString());
        return false;
    }
    if (last != '\n')
        record.prepend('\n');
    if (file.write(record) != record.size() || !file.flush()) {
        fail(file.errorString());
        return false;
    }
    return true;
}

bool AlarmHistory::rotate() {
    const QString older = m_path + QStringLiteral(".1");
    QFile::remove(older);
    if (!QFile::rename(m_path, older)) {
        fail(QStringLiteral("it cannot be renamed to %1").arg(older));
        return false;
    }
    return true;
}

void AlarmHistory::fail(const QString& reason) {
    if (m_failureTold)
        return;
    m_failureTold = true;
    emit writeFailed(QStringLiteral("The alarm history cannot be written to %1 (%2). The alarm "
                                    "goes on without it.")
                         .arg(QDir::toNativeSeparators(m_path), reason));
}

QList<HistoryEntry> AlarmHistory::readLast(const QString& path, int count) {
    QList<HistoryEntry> entries;
    for (const QString& file : {path, path + QStringLiteral(".1")}) {
        const QStringList lines = linesOf(file);
        for (qsizetype i = lines.size() - 1; i >= 0 && entries.size() < count; --i) {
            if (const auto entry = parseHistoryLine(lines.at(i)))
                entries.append(*entry);
        }
        if (entries.size() >= count)
            break;
    }
    return entries;
}
