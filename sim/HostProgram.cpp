#include "HostProgram.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QSettings>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include "HostBus.h"
#include "HostCore.h"
#include "HostFiles.h"
#include "HostWindow.h"
#include "Journal.h"
#include "MapView.h"
#include "TrackerSettings.h"
#include "feed/RadioFeed.h"
#include "map/MapNavigation.h"

namespace {

// Written by the signal handler, read by the event loop: the only async-signal-safe way
// to turn SIGINT/SIGTERM into an ordinary shutdown.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

} // namespace

HostProgram::HostProgram(HostOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_journal(std::make_unique<Journal>()) {}

HostProgram::~HostProgram() {
    m_feed.reset();
    m_bus.reset();
    m_window.reset();
}

bool HostProgram::start(QString* error) {
    if (!m_options.journalFile.isEmpty() && !m_journal->open(m_options.journalFile, error))
        return false;

    Scenario scenario;
    try {
        if (!m_options.scenarioFile.isEmpty())
            scenario = readScenarioFile(m_options.scenarioFile);
    } catch (const ScenarioError& e) {
        *error = e.message();
        return false;
    }

    if (const auto& own = m_options.feed.own) {
        // A callsign alone (the GPS gives the position) keeps the scenario's position
        // until the first fix, when the scenario has one.
        if (own->hasPosition) {
            scenario.ownLat = own->latitude;
            scenario.ownLon = own->longitude;
        } else if (!scenario.ownCallsign.isEmpty()) {
            m_options.feed.own->hasPosition = true;
        }
        scenario.ownCallsign = own->callsign;
    }
    if (m_options.unit)
        scenario.unit = *m_options.unit;
    m_core = std::make_unique<HostCore>(std::move(scenario));
    m_bus = std::make_unique<HostBus>(*m_core, *m_journal, QDBusConnection::sessionBus());
    if (!m_bus->prepare(error))
        return false;

    QString folder = m_options.folder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/Kestrel32");
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create the program folder %1").arg(folder);
        return false;
    }
    try {
        hostfiles::writeHostIni(folder, m_core->scenario().ownCallsign);
        hostfiles::recordProgramFolder(folder);
        hostfiles::writeOverlays(folder, m_core->scenario().overlays);
        m_core->scene().overlaysFolder = folder + QStringLiteral("/overlays");
    } catch (const HostFileError& e) {
        *error = e.message();
        return false;
    }

    m_core->advanceTo(0.0);
    m_window = std::make_unique<HostWindow>(*m_core);
    connect(m_window.get(), &HostWindow::closeRequested, this, &HostProgram::shutdown);
    m_window->show();
    QCoreApplication::processEvents();
    m_core->fitView();
    {
        // The view the operator left last time, if any; the fitted one otherwise.
        QSettings settings(trackerSettingsPath(), QSettings::IniFormat);
        navigation::loadView(settings, m_core->scene());
    }
    const TrackerMapSettings map = trackerMapSettings(trackerSettingsPath());
    m_core->log().setTrailLimits(map.trailPoints, qint64(map.trailMinutes) * 60000);
    m_window->setTileSource(map.tileUrl, map.tileAttribution,
                            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                QStringLiteral("/kestrel32/tiles"));
    // A position from gpsd moves: the view goes with it until the operator pans.
    m_window->map()->setFollowing(m_options.feed.gpsdPort != 0);

    if (m_options.feed.anyLink()) {
        m_feed = std::make_unique<RadioFeed>(m_options.feed, *m_core);
        connect(m_feed.get(), &RadioFeed::statusChanged, m_window->statusBar(),
                [this](const QString& text) { m_window->statusBar()->showMessage(text); });
        if (!m_feed->start(error))
            return false;
    }

    // Files first, name last: an add-on that finds the tracker on the bus finds its files.
    if (!m_bus->start(error))
        return false;

    m_ticker = new QTimer(this);
    m_ticker->setInterval(1000);
    connect(m_ticker, &QTimer::timeout, this, &HostProgram::tick);
    m_ticker->start();
    watchTerminationSignals();
    if (m_options.quitOnCallCount > 0) {
        m_journal->setAnsweredCallWatcher(
            [this, left = m_options.quitOnCallCount](const QString& name) mutable {
                // After the reply has gone out, as a window closed between two calls would.
                if (name == m_options.quitOnCallName && --left == 0)
                    QMetaObject::invokeMethod(this, &HostProgram::shutdown, Qt::QueuedConnection);
            });
    }
    if (m_options.quitAfterSeconds)
        QTimer::singleShot(std::chrono::milliseconds(qint64(*m_options.quitAfterSeconds * 1000.0)),
                           this, &HostProgram::shutdown);
    return true;
}

void HostProgram::tick() {
    m_core->advanceTo(double(m_core->nowMs()) / 1000.0);
    // Marks fade even when nothing else changes.
    m_window->centralWidget()->update();
}

void HostProgram::watchTerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    m_signalNotifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_signalNotifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        shutdown();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void HostProgram::shutdown() {
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    if (m_ticker)
        m_ticker->stop();
    if (m_feed)
        m_feed->stop();
    m_core->announceClosing();
    if (m_window->map()->movedByOperator()) {
        QSettings settings(trackerSettingsPath(), QSettings::IniFormat);
        navigation::saveView(settings, m_core->scene());
    }
    m_bus->stop();
    m_window->allowClose();
    m_window->close();
    QCoreApplication::quit();
}
