#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "CommandLine.h"
#include "setup/StatusWords.h"

class HostBus;
class RadioFeed;
class HostCore;
class HostWindow;
class Journal;
class QSocketNotifier;
class SetupWindow;

// The whole tracker: files in its folder, the station list playing the scenario,
// the window, the bus objects, and the one orderly way out (window, signal or time-out),
// which tells the add-ons before leaving the bus.
class HostProgram final : public QObject {
    Q_OBJECT
public:
    explicit HostProgram(HostOptions options, QObject* parent = nullptr);
    ~HostProgram() override;
    Q_DISABLE_COPY_MOVE(HostProgram)

    // No own callsign from the settings file or the command line, and nothing to play: the
    // operator starts the tracker for the first time.
    bool needsSetup() const;
    // Opens the setup window; OK saves the settings file and starts the tracker with it,
    // Cancel ends the program with nothing written. False with `error` set when the command
    // line asked for something that cannot work (a journal that cannot be written).
    bool startWithSetup(QString* error);
    // Prepares everything and joins the bus; false with `error` set when it cannot run.
    bool start(QString* error);
    // Settings > Preferences: the setup window over the map (raised when already open).
    void showPreferences();
    // Saves `conf` to the settings file and applies it at once, the command line still
    // winning; an error text when it could not be saved.
    bool saveAndReread(const TrackerConf& conf, HostOptions& fresh, QString& error) const;
    QString applyConf(const TrackerConf& conf);

    HostWindow* window() const { return m_window.get(); }
    SetupWindow* setupWindow() const;
    RadioFeed* feed() const { return m_feed.get(); }
    HostCore* core() const { return m_core.get(); }
    const HostOptions& options() const { return m_options; }
    // Announces the closing, leaves the bus, closes the window and ends the event loop.
    void shutdown();

private:
    // The map's settings in force: trail limits and the tile source.
    void applyMapSettings(const TrackerMapSettings& settings);
    void tick();
    void watchTerminationSignals();
    bool startFeed(QString* error);
    void refreshStatus();
    void onOwnFix(double latitude, double longitude);
    // Keeps the last gpsd position in the settings file, when the file chose gpsd.
    void saveLastFix();
    bool ownFixBelongsToFile() const;

    HostOptions m_options;
    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<HostCore> m_core;
    std::unique_ptr<HostWindow> m_window;
    std::unique_ptr<HostBus> m_bus;
    std::unique_ptr<RadioFeed> m_feed;
    QTimer* m_ticker = nullptr;
    QSocketNotifier* m_signalNotifier = nullptr;
    QPointer<SetupWindow> m_setup;
    QString m_folder;
    QTimer m_statusTimer;
    LineRate m_lineRate;
    QTimer m_fixSaver;
    std::optional<std::pair<double, double>> m_lastFix;
    bool m_lastFixSaved = true;
    bool m_shuttingDown = false;
};
