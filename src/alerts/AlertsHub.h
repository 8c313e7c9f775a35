#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "alerts/AlarmHistory.h"
#include "alerts/StationChanges.h"

class AlarmEngine;
class AlarmSpeaker;
class DesktopNotifier;

// Carries the engine's alarm beyond the window: every change of the listed stations and
// every command on the lists into the history, and, when switched on, a desktop
// notification and the spoken callsigns for each station that a tick newly lists. The
// notification's "Acknowledge all" acknowledges all, as ">>" does.
class AlertsHub final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlertsHub)
public:
    // notifier and speaker may be null (no notification, no speech); they must outlive the hub.
    AlertsHub(AlarmEngine& engine, const QString& historyPath, DesktopNotifier* notifier,
              AlarmSpeaker* speaker, QObject* parent = nullptr);
    ~AlertsHub() override;

    // Both off until switched on.
    void setNotifyOn(bool on) { m_notifyOn = on; }
    void setSpeakOn(bool on) { m_speakOn = on; }
    bool notifyOn() const { return m_notifyOn; }
    bool speakOn() const { return m_speakOn; }
    // Whether speaking can work at all (for the menu item's "unavailable").
    bool speechAvailable() const;

    AlarmHistory& history() { return m_history; }

signals:
    // Forwarded from the history, once until it can be written again.
    void historyFailed(const QString& message);

private:
    void onAlarmRaised(const QStringList& lines);
    void onStationsListed(const QStringList& lines);
    void onAcknowledged(const QString& callsign, const QString& line);

    AlarmEngine& m_engine;
    DesktopNotifier* m_notifier;
    AlarmSpeaker* m_speaker;
    AlarmHistory m_history;
    // The stations the last completed tick listed (less those acknowledged since).
    QList<ListedStation> m_previous;
    bool m_notifyOn = false;
    bool m_speakOn = false;
};
