#include "alerts/AlertsHub.h"

#include <QSet>

#include "alerts/AlarmSpeaker.h"
#include "alerts/DesktopNotifier.h"
#include "engine/AlarmEngine.h"

AlertsHub::AlertsHub(AlarmEngine& engine, const QString& historyPath, DesktopNotifier* notifier,
                     AlarmSpeaker* speaker, QObject* parent)
    : QObject(parent), m_engine(engine), m_notifier(notifier), m_speaker(speaker),
      m_history(historyPath) {
    connect(&m_history, &AlarmHistory::writeFailed, this, &AlertsHub::historyFailed);
    connect(&engine, &AlarmEngine::alarmRaised, this, &AlertsHub::onAlarmRaised);
    connect(&engine, &AlarmEngine::stationsListed, this, &AlertsHub::onStationsListed);
    connect(&engine, &AlarmEngine::acknowledged, this, &AlertsHub::onAcknowledged);
    connect(&engine, &AlarmEngine::rearmed, this,
            [this](const QString& callsign) { m_history.append(HistoryEvent::Rearmed, callsign); });
    connect(&engine, &AlarmEngine::watchAdded, this, [this](const QString& callsign) {
        m_history.append(HistoryEvent::WatchAdded, callsign);
    });
    connect(&engine, &AlarmEngine::watchDeleted, this, [this](const QString& callsign) {
        m_history.append(HistoryEvent::WatchDeleted, callsign);
    });
    if (m_notifier)
        connect(m_notifier, &DesktopNotifier::acknowledgeAllInvoked, &engine,
                &AlarmEngine::acknowledgeAll);
}

AlertsHub::~AlertsHub() = default;

bool AlertsHub::speechAvailable() const {
    return m_speaker && m_speaker->available();
}

// The alarm comes before the tick's list: what is new is what the previous tick lacked.
void AlertsHub::onAlarmRaised(const QStringList& lines) {
    const QList<ListedStation> current = listedStations(lines);
    const QList<ListedStation> news = compareListedStations(m_previous, current).entered;
    if (news.isEmpty())
        return;
    if (m_notifyOn && m_notifier) {
        QSet<QString> callsigns;
        for (const ListedStation& station : current)
            callsigns.insert(station.callsign);
        m_notifier->notify(int(callsigns.size()), news);
    }
    if (m_speakOn && speechAvailable()) {
        for (const ListedStation& station : news)
            m_speaker->say(spokenStation(station));
    }
}

void AlertsHub::onStationsListed(const QStringList& lines) {
    QList<ListedStation> current = listedStations(lines);
    const StationChanges changes = compareListedStations(m_previous, current);
    for (const ListedStation& station : changes.entered)
        m_history.append(HistoryEvent::Entered, station.callsign, station.distanceText);
    for (const ListedStation& station : changes.left)
        m_history.append(HistoryEvent::Left, station.callsign, station.distanceText);
    m_previous = std::move(current);
}

// An acknowledged station leaves the list by the operator's hand, not by leaving range: it
// is not recorded as left, and enters afresh when re-armed.
void AlertsHub::onAcknowledged(const QString& callsign, const QString& line) {
    m_history.append(HistoryEvent::Acked, callsign, listedStationOfLine(line).distanceText);
    m_previous.removeIf(
        [&callsign](const ListedStation& station) { return station.callsign == callsign; });
}
