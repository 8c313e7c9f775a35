#pragma once

#include <functional>
#include <memory>

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
struct HostEntry;
struct WantedStations;

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
    enum class Switch {
        AudibleAlarm,
        BringToFront,
        ScanStations,
        ScanOverlays,
        DesktopNotify,
        SpeakAlarm
    };
    static constexpr int kTickMs = 10000;
    // Decided station rings wait for the map until this many have come (or the walk ends):
    // a long list's rings then take a few calls, each asking the map's scale once.
    static constexpr size_t kRingsToDrawTogether = 256;

    // map may be null (the marks then fail and end the tick); sound may be null (silent).
    AlarmEngine(KestrelHost& host, KestrelMap* map, SoundPlayer* sound, QObject* parent = nullptr);
    ~AlarmEngine() override;

    // The lists: alarm lines (sorted), acknowledged and watched callsigns, overlay lines. They
    // change only through the engine's commands and ticks.
    const TextList& alarmLines() const { return m_alarmLines; }
    const TextList& ackedCalls() const { return m_ackedCalls; }
    const TextList& watchCalls() const { return m_watchCalls; }
    const TextList& overlayLines() const { return m_overlayLines; }
    // A list for a view to show: a model no row can be set, put in or taken out through.
    enum class List { AlarmLines, AckedCalls, WatchCalls, OverlayLines };
    QAbstractItemModel* model(List which);

    // The radius as typed; read afresh for every station and every object.
    QString radiusText() const { return m_radiusText; }
    void setRadiusText(const QString& text);
    double radius() const;
    // The smallest distance listed by the last scan (99999 when none).
    double dblMinDist() const { return m_dblMinDist; }

    QString ownCallsign() const { return m_ownCallsign; }
    void setOwnCallsign(const QString& callsign) { m_ownCallsign = callsign; }
    void setWavFolder(const QString& folder) { m_wavFolder = folder; }
    // Where the *.pos files are, asked on every overlay load.
    void setOverlaysFolder(std::function<QString()> lookup) {
        m_overlaysFolder = std::move(lookup);
    }

    bool isOn(Switch which) const;
    void setSwitch(Switch which, bool on);
    // The operator's toggle: a switch whose need is missing stays off.
    void toggleSwitch(Switch which);
    // What a switch needs to work besides being on (the speech engine for the spoken
    // alarm). It is asked only when the switch is set on or toggled: asking may start a
    // daemon.
    void setSwitchNeed(Switch which, std::function<bool()> available);
    // False once the need was found missing; shown beside the switch.
    bool isAvailable(Switch which) const;

    // Starts the 10-second tick (the commands restart its interval).
    void startTicking();
    bool isTicking() const { return m_timer1.isActive(); }
    // Holds the ticks while a command works; letting go starts a full interval anew.
    void holdTicks(bool hold);
    // Starts one tick: range ring and sweep round the own station, the scans the switches
    // allow, and the alarm (sound, AlertStation, bring to front). The tick goes on from the
    // host's answers and returns to the event loop between every two steps, so that
    // commands and host events act in between; tickEnded says when it is through. A tick
    // that fires while another runs is dropped.
    void timer1Timer();
    bool tickRunning() const { return m_tickRunning; }

    // The program is leaving (the operator closed it, or the tracker is closing): no tick
    // starts any more, the one under way is dropped where it stands and nothing more is
    // said of failures.
    void shutDown();

    // The operator's commands. Rows are those of the list models.
    void acknowledge(int row);
    void acknowledgeAll();
    void rearm(int row);
    void rearmAll();
    // Empty when added, otherwise the reason it was not.
    QString addWatch(const QString& typed);
    void deleteWatch(int row);

    // Adds the callsigns of the list file (read before the first tick).
    void loadLists(const QStringList& acked, const QStringList& watch);

    void scanOverlays();
    void loadOverlayItems();
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
    // A tick failed; said once until a tick runs through again, and never once the program
    // is leaving.
    void tickFailed(const QString& message);
    void tickEnded();
    // An operator's command changed the lists (for the history).
    void acknowledged(const QString& callsign, const QString& line);
    void rearmed(const QString& callsign);
    void watchAdded(const QString& callsign);
    void watchDeleted(const QString& callsign);

private:
    struct Walk;
    using Step = std::function<void()>;

    // Runs step from the event loop, unless the tick has been dropped meanwhile.
    void later(Step step);
    // Runs step now; a failure ends the tick.
    void guarded(const Step& step);
    void ownStation();
    void sweep(double angle);
    void scanStations();
    void scanWatchlist();
    void overlaysThenAlarm();
    void soundAlarm();
    void alertStationsAndRaise();
    void endTick(std::exception_ptr failure = {});
    void showMinimum();
    // Walks the host's list a block at a time; for each entry `wanted` still wants at its
    // turn, m_station is filled and `found` called. `done` gets whether the walk went
    // through; a failure that is not the tracker being gone ends the walk only.
    void walkStations(std::function<WantedStations()> wanted,
                      std::function<void(const QString&)> found, std::function<void(bool)> done);
    // Asks the cursor for the walk's next block, or ends the walk at the end of the list.
    void nextBlock();
    // Handles the block the cursor brought.
    void walkBlock();
    // Fills m_station from the entry's fix, or asks the host when the block did not.
    bool fixOf(const HostEntry& entry);
    // The block's rings in one call, or one by one where the host has no such call; then
    // finishBlock.
    void flushRings();
    void ringsAnswered();
    void listPending(int firstNotDrawn, std::exception_ptr failure);
    void drawRingsSingly();
    // The next block, the end of the pass, or (the tracker gone) the end of the tick.
    void finishBlock();
    KestrelMap& map();

    KestrelHost& m_host;
    KestrelMap* m_map;
    SoundPlayer* m_sound;

    TextList m_alarmLines{TextList::Order::Sorted};
    TextList m_ackedCalls{TextList::Order::Sorted};
    TextList m_watchCalls{TextList::Order::AsAdded};
    TextList m_overlayLines{TextList::Order::AsAdded};

    QString m_radiusText = QStringLiteral("25"); // the window's design value until read
    double m_dblMinDist = 99999.0;
    QString m_ownCallsign;
    QString m_wavFolder;
    std::function<QString()> m_overlaysFolder;
    OverlayTable m_overlays;
    KestrelStation m_station; // the one station object the scans and the tick reuse

    bool m_audibleAlarm = true;
    bool m_bringToFront = true;
    bool m_scanStations = true;
    bool m_scanOverlays = true;
    bool m_desktopNotify = false;
    bool m_speakAlarm = false;
    std::function<bool()> m_speechNeed;
    bool m_speechAvailable = true;

    QTimer m_timer1;
    bool m_tickRunning = false;
    // Counts the ticks; a step of a tick that has been dropped finds another number here.
    quint64 m_tickId = 0;
    std::unique_ptr<Walk> m_walk;
    int m_stationCount = 0;
    int m_watchCount = 0;
    // Whether the alarm of this tick tells the host each station (the fewer-station sound).
    bool m_alertStations = false;
    // Whether this tick's station pass went through to the end of the list.
    bool m_stationPassComplete = false;
    bool m_failureReported = false;
    bool m_shutDown = false;
};
