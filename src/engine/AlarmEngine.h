#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "engine/OverlayItems.h"
#include "host/KestrelStation.h"
#include "lists/TextList.h"

class KestrelHost;
class KestrelMap;
class SoundPlayer;

// The sound files in the WAV folder.
inline constexpr const char* kWavFewStations = "rw_le_4_stations_alarm.wav";
inline constexpr const char* kWavManyStations = "rw_gt_4_stations_alarm.wav";
inline constexpr const char* kWavSiren = "SIREN.WAV";

// The alarm's state and its cycle: the four lists, the switches, the radius, the own
// callsign, the overlay table and the 10-second tick. It is the one owner of that state;
// the window shows the lists' models, forwards the operator's input to the commands here,
// and learns of everything else through the signals.
class AlarmEngine final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmEngine)
public:
    enum class Switch { AudibleAlarm, BringToFront, ScanStations, ScanOverlays };
    static constexpr int kTickMs = 10000;

    // letEventsRun lets pending events run between stations (commands and host events may
    // act meanwhile); map may be null (the marks then fail and end the tick).
    AlarmEngine(KestrelHost& host, KestrelMap* map, SoundPlayer* sound,
                std::function<void()> letEventsRun, QObject* parent = nullptr);
    ~AlarmEngine() override;

    // The lists: alarm lines (sorted), acknowledged and watched callsigns, overlay lines.
    TextList& alarmLines() { return m_alarmLines; }
    TextList& ackedCalls() { return m_ackedCalls; }
    TextList& watchCalls() { return m_watchCalls; }
    TextList& overlayLines() { return m_overlayLines; }

    // The radius as typed; read afresh for every station and every object.
    QString radiusText() const { return m_radiusText; }
    void setRadiusText(const QString& text);
    double radius() const;
    // The smallest distance listed by the last scan (99999 when none).
    double dblMinDist() const { return m_dblMinDist; }

    QString ownCallsign() const { return gstrOwnCallsign; }
    void setOwnCallsign(const QString& callsign) { gstrOwnCallsign = callsign; }
    void setWavFolder(const QString& folder) { m_wavFolder = folder; }
    // Where the *.pos files are, asked on every overlay load.
    void setOverlaysFolder(std::function<QString()> lookup) {
        m_overlaysFolder = std::move(lookup);
    }

    bool isOn(Switch which) const;
    void setSwitch(Switch which, bool on);

    // The 10-second timer of the tick; the commands hold it while they run.
    QTimer& Timer1() { return m_timer1; }
    // One tick: range ring and sweep round the own station, the scans the switches allow,
    // and the alarm (sound, AlertStation, bring to front). A tick that fires while another
    // runs is dropped.
    void Timer1_Timer();
    bool tickRunning() const { return m_tickRunning; }

    // The tracker is leaving: its failures are no longer worth a message.
    void hostClosing() { m_hostClosing = true; }

    // The operator's commands. Rows are those of the list models.
    void acknowledge(int row);
    void acknowledgeAll();
    void rearm(int row);
    void rearmAll();
    // Empty when added, otherwise the reason it was not.
    QString addWatch(const QString& typed);
    void deleteWatch(int row);

    // The lists as the list file holds them, before the first tick.
    void loadLists(const QStringList& acked, const QStringList& watch);

    // One pass over the host's list (exposed for tests and benchmarks).
    qint16 scan_stations();
    qint16 scan_watchlist();
    void scan_overlays();
    void load_overlay_items();
    const OverlayTable& overlays() const { return m_overlays; }

signals:
    void minDistCaptionChanged(const QString& caption);
    void radiusTextChanged(const QString& text);
    void switchChanged(AlarmEngine::Switch which, bool on);
    // A tick found stations in alarm (lines: the alarm list as it then stood).
    void alarmRaised(const QStringList& lines);
    // Every completed tick with the alarm list it left, also an empty one.
    void stationsListed(const QStringList& lines);
    void bringToFrontRequested();
    // A tick failed; said once until a tick runs through again, and never while the tracker
    // is leaving.
    void tickFailed(const QString& message);
    void tickEnded();
    // An operator's command changed the lists (for the history).
    void acknowledged(const QString& callsign, const QString& line);
    void rearmed(const QString& callsign);
    void watchAdded(const QString& callsign);
    void watchDeleted(const QString& callsign);

private:
    void runTick();
    void drawRange();
    void soundAlarm(int stationCount);
    void showMinimum();
    // Walks the host's list; for each entry `wanted` still wants at its turn, mStation is
    // filled and `found` called. Events run after every entry; a failure ends the walk.
    void walkStations(const std::function<bool(const QString&)>& wanted,
                      const std::function<void(const QString&)>& found);
    void letEventsRun();
    KestrelMap& map();
    void holdTimer(bool hold);

    KestrelHost& m_host;
    KestrelMap* m_map;
    SoundPlayer* m_sound;
    std::function<void()> m_letEventsRun;

    TextList m_alarmLines{TextList::Order::Sorted};
    TextList m_ackedCalls{TextList::Order::Sorted};
    TextList m_watchCalls{TextList::Order::AsAdded};
    TextList m_overlayLines{TextList::Order::AsAdded};

    QString m_radiusText = QStringLiteral("25"); // the window's design value until read
    double m_dblMinDist = 99999.0;
    QString gstrOwnCallsign;
    QString m_wavFolder;
    std::function<QString()> m_overlaysFolder;
    OverlayTable m_overlays;
    KestrelStation mStation; // the one station object the scans and the tick reuse

    bool gblnAudibleAlarm = true;
    bool gblnBringToFront = true;
    bool gblnScanStations = true;
    bool gblnScanOverlays = true;

    QTimer m_timer1;
    bool m_tickRunning = false;
    // Whether this tick's station pass went through to the end of the list.
    bool m_stationPassComplete = false;
    bool m_failureReported = false;
    bool m_hostClosing = false;
};
