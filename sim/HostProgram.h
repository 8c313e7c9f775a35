#pragma once

#include <memory>

#include <QObject>
#include <QString>

#include "CommandLine.h"

class HostBus;
class RadioFeed;
class HostCore;
class HostWindow;
class Journal;
class QSocketNotifier;
class QTimer;

// The whole stand-in tracker: files in its folder, the station list playing the scenario,
// the window, the bus objects, and the one orderly way out (window, signal or time-out),
// which tells the add-ons before leaving the bus.
class HostProgram final : public QObject {
    Q_OBJECT
public:
    explicit HostProgram(HostOptions options, QObject* parent = nullptr);
    ~HostProgram() override;
    Q_DISABLE_COPY_MOVE(HostProgram)

    // Prepares everything and joins the bus; false with `error` set when it cannot run.
    bool start(QString* error);
    // Announces the closing, leaves the bus, closes the window and ends the event loop.
    void shutdown();

private:
    void tick();
    void watchTerminationSignals();

    HostOptions m_options;
    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<HostCore> m_core;
    std::unique_ptr<HostWindow> m_window;
    std::unique_ptr<HostBus> m_bus;
    std::unique_ptr<RadioFeed> m_feed;
    QTimer* m_ticker = nullptr;
    QSocketNotifier* m_signalNotifier = nullptr;
    bool m_shuttingDown = false;
};
