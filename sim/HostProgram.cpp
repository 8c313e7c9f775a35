#include "HostProgram.h"

#include <csignal>
#include <cstdio>
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
#include "map/MapPreferences.h"
#include "setup/SetupWindow.h"

namespace {

// Written by the signal handler, read by the event loop: the only async-signal-safe way
// to turn SIGINT/SIGTERM into an ordinary shutdown.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// Status bar parts follow the links at once; the line rate needs a steady sample.
constexpr int StatusRefreshMs = 5000;
// The last gpsd position is saved at most this often while moving (and at the close).
constexpr int FixSaveMs = 5 * 60 * 1000;

// What the radio links need, apart from where the own station stands.
bool sameLinks(const feed::FeedOptions& a, const feed::FeedOptions& b) {
    return a.kissHost == b.kissHost && a.kissPort == b.kissPort && a.aprsIsHost == b.aprsIsHost &&
           a.aprsIsPort == b.aprsIsPort && a.login == b.login && a.passcode == b.passcode &&
           a.filter == b.filter && a.rangeKm == b.rangeKm && a.gpsdHost == b.gpsdHost &&
           a.gpsdPort == b.gpsdPort && a.expireMinutes == b.expireMinutes &&
           a.replayFile == b.replayFile && a.replayRate == b.replayRate;
}

} // namespace

HostProgram::HostProgram(HostOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_journal(std::make_unique<Journal>()) {
    m_statusTimer.setInterval(StatusRefreshMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &HostProgram::refreshStatus);
    m_fixSaver.setInterval(FixSaveMs);
    connect(&m_fixSaver, &QTimer::timeout, this, &HostProgram::saveLastFix);
}

HostProgram::~HostProgram() {
    delete m_setup;
    m_feed.reset();
    m_bus.reset();
    m_window.reset();
}

SetupWindow* HostProgram::setupWindow() const {
    return m_setup;
}

bool HostProgram::needsSetup() const {
    return !m_options.feed.own && m_options.scenarioFile.isEmpty() &&
           m_options.feed.replayFile.isEmpty();
}

bool HostProgram::startWithSetup(QString* error) {
    // What the command line asked for that cannot work is said before the operator fills in
    // a window for nothing.
    if (!m_options.journalFile.isEmpty() && !m_journal->open(m_options.journalFile, error))
        return false;
    m_setup = new SetupWindow(SetupWindow::Mode::FirstStart, m_options.conf, m_options.given,
                              [this](const TrackerConf& conf) {
                                  QString error;
                                  HostOptions fresh;
                                  if (saveAndReread(conf, fresh, error))
                                      m_options = fresh;
                                  return error;
                              });
    m_setup->setAttribute(Qt::WA_DeleteOnClose);
    // The setup window is the only window until the map opens: its closing on OK must not end
    // the program as a last window would. Cancel ends it explicitly.
    QApplication::setQuitOnLastWindowClosed(false);
    // Started once the window has finished closing: start-up lets events run, and the window
    // that goes away must not be under way then.
    connect(
        m_setup, &QDialog::accepted, this,
        [this] {
            QApplication::setQuitOnLastWindowClosed(true);
            QString error;
            if (!start(&error)) {
                std::fprintf(stderr, "kestrel32: %s\n", qPrintable(error));
                QCoreApplication::exit(2);
            }
        },
        Qt::QueuedConnection);
    connect(m_setup, &QDialog::rejected, this, [] { QCoreApplication::quit(); });
    if (m_options.quitAfterSeconds)
        QTimer::singleShot(std::chrono::milliseconds(qint64(*m_options.quitAfterSeconds * 1000.0)),
                           m_setup, &QDialog::reject);
    m_setup->show();
    return true;
}

bool HostProgram::start(QString* error) {
    if (!m_options.journalFile.isEmpty() && !m_journal->isOpen() &&
        !m_journal->open(m_options.journalFile, error))
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
    if (m_options.feed.own && !m_options.feed.own->hasPosition)
        m_core->store().setOwnUnplaced(m_options.feed.own->callsign);
    m_bus = std::make_unique<HostBus>(*m_core, *m_journal, QDBusConnection::sessionBus());
    if (!m_bus->prepare(error))
        return false;

    QString folder = m_options.folder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/Kestrel32");
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    m_folder = folder;
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
    // Shown first: showing lays the window out and sends the map its size, which the fit
    // needs.
    m_window->show();
    m_core->fitView();
    // The view the operator left last time, if any; the fitted one otherwise.
    navigation::loadView(m_options.settingsFile, m_core->scene());
    applyMapSettings(trackerMapSettings(m_options.settingsFile));
    // A position from gpsd moves: the view goes with it until the operator pans.
    m_window->map()->setFollowing(m_options.feed.gpsdPort != 0);

    connect(m_window.get(), &HostWindow::preferencesRequested, this, &HostProgram::showPreferences);
    if (!startFeed(error))
        return false;
    if (!m_options.unknownConfKeys.isEmpty()) {
        const QString text =
            QStringLiteral("%1: unknown %2 %3 (left as written)")
                .arg(m_options.settingsFile, m_options.unknownConfKeys.size() == 1 ? "key" : "keys",
                     m_options.unknownConfKeys.join(QStringLiteral(", ")));
        m_window->statusBar()->showMessage(text, 30000);
        std::fprintf(stderr, "kestrel32: %s\n", qPrintable(text));
    }
    m_statusTimer.start();
    refreshStatus();

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

bool HostProgram::startFeed(QString* error) {
    if (!m_options.feed.anyLink())
        return true;
    m_feed = std::make_unique<RadioFeed>(m_options.feed, *m_core);
    connect(m_feed.get(), &RadioFeed::statusChanged, this, &HostProgram::refreshStatus);
    if (GpsOwnStation* gps = m_feed->gps())
        connect(gps, &GpsOwnStation::moved, this, &HostProgram::onOwnFix);
    m_lineRate = LineRate();
    return m_feed->start(error);
}

void HostProgram::refreshStatus() {
    if (!m_window)
        return;
    m_lineRate.sample(aprsIsLines(m_feed.get()), m_core->nowMs());
    m_window->setStatusParts(statusWords(m_feed.get(), m_core->store(), m_lineRate));
}

void HostProgram::applyMapSettings(const TrackerMapSettings& settings) {
    m_core->log().setTrailLimits(settings.trailPoints, qint64(settings.trailMinutes) * 60000);
    m_window->setTileSource(settings.tileUrl, settings.tileAttribution,
                            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                QStringLiteral("/kestrel32/tiles"));
}

void HostProgram::showPreferences() {
    if (m_setup) {
        m_setup->raise();
        m_setup->activateWindow();
        return;
    }
    const ConfReading reading = readTrackerConfFile(m_options.settingsFile);
    auto* map = new MapPreferences(trackerMapSettings(m_options.settingsFile));
    m_setup = new SetupWindow(
        SetupWindow::Mode::Preferences, reading.fault.isEmpty() ? reading.conf : m_options.conf,
        m_options.given,
        [this, map](const TrackerConf& conf) {
            const std::optional<TrackerMapSettings> mapSettings = map->checked();
            if (!mapSettings)
                return QStringLiteral("The map's settings need a look.");
            const QString error = applyConf(conf);
            if (!error.isEmpty())
                return error;
            if (!saveTrackerMapSettings(m_options.settingsFile,
                                        trackerMapSettings(m_options.settingsFile), *mapSettings))
                return QStringLiteral("cannot write %1").arg(m_options.settingsFile);
            applyMapSettings(*mapSettings);
            return QString();
        },
        m_window.get());
    m_setup->addSection(map);
    m_setup->setAttribute(Qt::WA_DeleteOnClose);
    m_setup->show();
}

// The command line is read again over the file just written, so that its options still win
// for this run and are never written.
bool HostProgram::saveAndReread(const TrackerConf& conf, HostOptions& fresh, QString& error) const {
    return saveTrackerConf(
               m_options.settingsFile, [&](TrackerConf& saved) { saved = conf; }, &error) &&
           parseCommandLine(m_options.arguments, fresh, error, m_options.settingsFile) ==
               CommandLineResult::Run;
}

QString HostProgram::applyConf(const TrackerConf& conf) {
    QString error;
    HostOptions fresh;
    if (!saveAndReread(conf, fresh, error))
        return error;

    m_core->setUnit(fresh.unit ? *fresh.unit : m_core->scenario().unit);
    const QString callsign =
        fresh.feed.own ? fresh.feed.own->callsign : m_core->scenario().ownCallsign;
    std::optional<std::pair<double, double>> position;
    const StationStore& store = m_core->store();
    const bool stillGps = fresh.feed.gpsdPort != 0 &&
                          fresh.feed.gpsdHost == m_options.feed.gpsdHost &&
                          fresh.feed.gpsdPort == m_options.feed.gpsdPort;
    if (stillGps && store.ownPlaced())
        position = std::pair(store.own().lat, store.own().lon); // the GPS knows better
    else if (fresh.feed.own && fresh.feed.own->hasPosition)
        position = std::pair(fresh.feed.own->latitude, fresh.feed.own->longitude);
    else if (!fresh.feed.own)
        position = std::pair(m_core->scenario().ownLat, m_core->scenario().ownLon);
    const bool moved = !store.ownPlaced() || !position || store.own().lat != position->first ||
                       store.own().lon != position->second;
    if (callsign != store.ownCallsign()) {
        try {
            hostfiles::writeHostIni(m_folder, callsign);
        } catch (const HostFileError& e) {
            return e.message();
        }
    }
    m_core->moveOwn(callsign, position);

    const bool followsOwn = fresh.feed.aprsIsPort != 0 && fresh.feed.filter.isEmpty() && moved;
    const bool relink = !sameLinks(fresh.feed, m_options.feed) || followsOwn;
    m_options = fresh;
    if (relink) {
        if (m_feed)
            m_feed->stop();
        m_feed.reset();
        // What the old links heard goes; the new links fill the list again.
        m_core->deleteAllStations();
        if (!startFeed(&error)) {
            refreshStatus();
            return error;
        }
    }
    m_core->fitView();
    refreshStatus();
    return {};
}

bool HostProgram::ownFixBelongsToFile() const {
    return !m_options.conf.gpsd.isEmpty() && !m_options.given.contains(QStringLiteral("gpsd")) &&
           !m_options.given.contains(QStringLiteral("own"));
}

void HostProgram::onOwnFix(double latitude, double longitude) {
    if (!ownFixBelongsToFile())
        return;
    const bool first = !m_lastFix;
    m_lastFix = std::pair(latitude, longitude);
    m_lastFixSaved = false;
    if (first)
        saveLastFix(); // a tracker that is killed still starts from here next time
    if (!m_fixSaver.isActive())
        m_fixSaver.start();
}

void HostProgram::saveLastFix() {
    if (!m_lastFix || m_lastFixSaved || !ownFixBelongsToFile())
        return;
    QString error;
    const auto [latitude, longitude] = *m_lastFix;
    if (saveTrackerConf(
            m_options.settingsFile,
            [&](TrackerConf& saved) {
                saved.latitude = latitude;
                saved.longitude = longitude;
            },
            &error))
        m_lastFixSaved = true;
    else
        std::fprintf(stderr, "kestrel32: %s\n", qPrintable(error));
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
    m_statusTimer.stop();
    m_fixSaver.stop();
    if (m_setup)
        m_setup->close();
    if (m_feed)
        m_feed->stop();
    saveLastFix();
    m_core->announceClosing();
    if (m_window->map()->movedByOperator() &&
        !navigation::saveView(m_options.settingsFile, m_core->scene()))
        std::fprintf(stderr, "kestrel32: cannot keep the map's view in %s\n",
                     qPrintable(m_options.settingsFile));
    m_bus->stop();
    m_window->allowClose();
    m_window->close();
    QCoreApplication::quit();
}
