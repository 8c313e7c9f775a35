#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include "alerts/AlarmHistory.h"
#include "alerts/SpeechQueue.h"
#include "alerts/StationChanges.h"

class AlarmEngine;
class AlarmSpeaker;
class DesktopNotifier;

// Carries the engine's alarm beyond the window: every change of the listed stations and
// every command on the lists into the history, and, when switched on, a desktop
// notification and the spoken callsigns for each station that a tick newly lists. The
// notification lists the stations in range, newest first; it goes away once none of them is
// left unanswered in range, and its "Acknowledge all" acknowledges all, as ">>" does. What
// waits to be spoken for a station goes when the station is acknowledged.
class AlertsHub final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlertsHub)
public:
    // notifier and speaker may be null (no notification, no speech); they must outlive the hub.
    AlertsHub(AlarmEngine& engine, const QString& historyPath, DesktopNotifier* notifier,
              AlarmSpeaker* speaker, QObject* parent = nullptr);
    ~AlertsHub() override;

    // Both off until switched on. Switched off, the notification is withdrawn and nothing
    // more is said.
    void setNotifyOn(bool on);
    void setSpeakOn(bool on);
    bool notifyOn() const { return m_notifyOn; }
    bool speakOn() const { return m_speakOn; }
    // Whether speaking can work at all (for the menu item's "unavailable").
    bool speechAvailable() const;
    // What waits to be said, in order.
    QStringList waitingSpeech() const { return m_speech.texts(); }

    // On the way out: the notification is taken off the screen, for nobody is left to answer.
    void end();

    AlarmHistory& history() { return m_history; }

signals:
    // Forwarded from the history, once until it can be written again.
    void historyFailed(const QString& message);

private:
    void onAlarmRaised(const QStringList& lines);
    void onStationsListed(const QStringList& lines);
    void onAcknowledged(const QString& callsign, const QString& line);
    void withdrawWhenAnswered();
    void speakNext();

    AlarmEngine& m_engine;
    DesktopNotifier* m_notifier;
    AlarmSpeaker* m_speaker;
    AlarmHistory m_history;
    // The stations the last completed tick listed (less those acknowledged since), newest
    // first.
    QList<ListedStation> m_listed;
    // The callsigns the shown notification lists.
    QSet<QString> m_notified;
    SpeechQueue m_speech;
    bool m_speaking = false;
    bool m_notifyOn = false;
    bool m_speakOn = false;
};
