#pragma once

#include <memory>

#include <QObject>
#include <QString>

#include "alerts/AlarmSpeaker.h"
#include "app/Startup.h"
#include "engine/AlarmEngine.h"
#include "host/KestrelHost.h"

class AlertsHub;
class DesktopNotifier;
class frmMain;
class QLockFile;
class SettingsBinding;
class SoundPlayer;

// The program: it owns the host objects, the engine, the window and the program's files,
// runs the start-up in its named steps and writes the settings and lists on the way out.
// Nothing is written before the lists have been read: a start-up that is cut short (a
// refusal, the tracker closing, the window closed) leaves the operator's files alone.
class RingwardenApp final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RingwardenApp)
public:
    // speaker may be null (no spoken alarm).
    RingwardenApp(StartupEnvironment env, std::unique_ptr<SoundPlayer> sound,
                  std::unique_ptr<AlarmSpeaker> speaker = nullptr, QObject* parent = nullptr);
    ~RingwardenApp() override;

    // Runs the start-up up to the window shown and returns; the rest (host events on, the
    // lists read) follows from the event loop, or from finishStartup. Every refusal ends
    // the process through the seam.
    void start();
    // The start-up's last steps, once the pending events have run; does nothing a second
    // time (tests call it instead of waiting for the event loop).
    void finishStartup();

    frmMain* window() const { return m_window.get(); }
    AlarmEngine* engine() const { return m_engine.get(); }
    KestrelHost* host() const { return gKestrel.get(); }
    const ProgramFiles& files() const { return m_files; }
    AlertsHub* alerts() const { return m_alerts.get(); }
    // Ringwarden.HST, beside the list file.
    QString historyFile() const;
    bool listsLoaded() const { return m_listsLoaded; }

    void saveini();
    void SaveLists();

signals:
    // The lists are read: the program runs.
    void startupFinished();

private:
    void attachToHost();
    void createWindow();
    void refuseSecondInstance();
    void readini();
    void openWithOverlayList();
    void readOwnCallsign();
    void enableHostEvents();
    void LoadLists();
    void endIfStartupCut();

    void Kestrel32IsClosing();
    void formUnload();
    void mnuFileExit();
    // What goes out on every way out: the settings, then the lists.
    void writeOnTheWayOut();
    void showHistoryFailure(const QString& message);
    void cutStartup();

    StartupEnvironment m_env;
    ProgramFiles m_files;
    std::unique_ptr<SoundPlayer> m_sound;
    std::unique_ptr<KestrelHost> mKestrel; // reaches the map
    std::unique_ptr<KestrelHost> gKestrel; // delivers events, serves the scans
    KestrelMap* mKestrelMap = nullptr;     // owned by mKestrel
    KestrelBeacon mBeacon;
    std::unique_ptr<AlarmEngine> m_engine;
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::unique_ptr<AlarmSpeaker> m_speaker;
    std::unique_ptr<AlertsHub> m_alerts;
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<SettingsBinding> m_settings; // after the window: it refers to it
    std::unique_ptr<QLockFile> m_lock;
    // The list file was not read to its end: keep a copy before it is written over.
    bool m_listFileUnreadRest = false;
    bool m_listsLoaded = false;
    bool m_startupCut = false;
    bool m_startupFinished = false;
    bool m_writtenOnTheWayOut = false;
};
