#include "alerts/AlertsHub.h"

#include <QMetaObject>
#include <QPointer>

#include "alerts/AlarmSpeaker.h"
#include "alerts/DesktopNotifier.h"
#include "engine/AlarmEngine.h"

AlertsHub::AlertsHub(AlarmEngine& engine, const QString& historyPath, DesktopNotifier* notifier,
                     AlarmSpeaker* speaker, QObject* parent)
    : QObject(parent), m_engine(engine), m_notifier(notifier), m_speaker(speaker),
      m_history(historyPath) {
    connect(&m_history, &AlarmHistory::writeFailed, this, &AlertsHub::historyFailed);
    // The engine owns the two switches; the hub follows them.
    connect(&m_engine, &AlarmEngine::switchChanged, this,
            [this](AlarmEngine::Switch which, bool on) {
                if (which == AlarmEngine::Switch::DesktopNotify)
                    setNotifyOn(on);
                else if (which == AlarmEngine::Switch::SpeakAlarm)
                    setSpeakOn(on);
            });
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

void AlertsHub::setNotifyOn(bool on) {
    m_notifyOn = on;
    if (!on && m_notifier && !m_notified.isEmpty()) {
        m_notified.clear();
        m_notifier->withdraw();
    }
}

void AlertsHub::setSpeakOn(bool on) {
    m_speakOn = on;
    if (!on)
        m_speech.clear();
}

bool AlertsHub::speechAvailable() const {
    return m_speaker && m_speaker->available();
}

void AlertsHub::end() {
    m_speech.clear();
    m_notified.clear();
    if (m_notifier)
        m_notifier->withdrawBeforeEnd();
}

// The alarm comes before the tick's list: what is new is what the previous tick lacked.
void AlertsHub::onAlarmRaised(const QStringList& lines) {
    const QList<ListedStation> current = listedStations(lines);
    const QList<ListedStation> news = compareListedStations(m_listed, current).entered;
    if (news.isEmpty())
        return;
    if (m_notifyOn && m_notifier) {
        const QList<ListedStation> inRange = newestFirst(m_listed, current);
        m_notified.clear();
        for (const ListedStation& station : inRange)
            m_notified.insert(station.callsign);
        m_notifier->notify(inRange);
    }
    if (m_speakOn && speechAvailable()) {
        m_speech.add(news);
        speakNext();
    }
}

void AlertsHub::onStationsListed(const QStringList& lines) {
    const QList<ListedStation> current = listedStations(lines);
    const StationChanges changes = compareListedStations(m_listed, current);
    for (const ListedStation& station : changes.entered)
        m_history.append(HistoryEvent::Entered, station.callsign, station.distanceText);
    for (const ListedStation& station : changes.left)
        m_history.append(HistoryEvent::Left, station.callsign, station.distanceText);
    m_listed = newestFirst(m_listed, current);
    withdrawWhenAnswered();
}

// An acknowledged station leaves the list by the operator's hand, not by leaving range: it
// is not recorded as left, and enters afresh when re-armed.
void AlertsHub::onAcknowledged(const QString& callsign, const QString& line) {
    m_history.append(HistoryEvent::Acked, callsign, listedStationOfLine(line).distanceText);
    m_listed.removeIf(
        [&callsign](const ListedStation& station) { return station.callsign == callsign; });
    m_speech.drop({callsign});
    withdrawWhenAnswered();
}

void AlertsHub::withdrawWhenAnswered() {
    if (m_notified.isEmpty() || !m_notifier)
        return;
    for (const ListedStation& station : m_listed) {
        if (m_notified.contains(station.callsign))
            return;
    }
    m_notified.clear();
    m_notifier->withdraw();
}

void AlertsHub::speakNext() {
    if (m_speaking || !m_speaker)
        return;
    const std::optional<QString> text = m_speech.takeNext();
    if (!text)
        return;
    m_speaking = true;
    // The speaker may answer at once or long after; either way the next text follows from
    // the event loop, and not at all once the hub is gone.
    m_speaker->speak(*text, [hub = QPointer<AlertsHub>(this)] {
        if (!hub)
            return;
        QMetaObject::invokeMethod(
            hub.data(),
            [hub] {
                hub->m_speaking = false;
                hub->speakNext();
            },
            Qt::QueuedConnection);
    });
}
