#include "app/RingwardenApp.h"

#include <QApplication>
#include <QLockFile>
#include <QMetaObject>
#include <QWidget>

#include "alerts/AlarmSpeaker.h"
#include "alerts/AlertsHub.h"
#include "alerts/DesktopNotifier.h"
#include "app/HostFolder.h"
#include "app/SettingsBinding.h"
#include "engine/OverlayItems.h"
#include "engine/SoundPlayer.h"
#include "lists/ListFile.h"
#include "settings/IniHelpers.h"
#include "support/DisplayMessage.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "ui/HistoryWindow.h"
#include "ui/frmMain.h"

namespace {

[[noreturn]] void failStartup(const QString& text) {
    showMessageBox(MessageIcon::Critical, kDefaultMessageTitle, text);
    endProcess(2);
}

std::unique_ptr<KestrelHost> createHostOrEnd(const StartupEnvironment& env) {
    try {
        std::unique_ptr<KestrelHost> host = env.createHost();
        if (host)
            return host;
        failStartup(QStringLiteral("Kestrel32 could not be reached."));
    } catch (const HostError& error) {
        failStartup(error.message());
    }
}

// The host settings file named by a bare file name would be looked up in the Windows
// folder; there is none here, so such a name finds nothing.
QString ownCallsignFrom(const QString& hostIniFile) {
    const QString nocall = QStringLiteral("NOCALL");
    if (!hostIniFile.contains(QLatin1Char('/')))
        return nocall;
    return ReadIniString(hostIniFile, QStringLiteral("STATION"), QStringLiteral("CALLSIGN"),
                         nocall);
}

} // namespace

RingwardenApp::RingwardenApp(StartupEnvironment env, std::unique_ptr<SoundPlayer> sound,
                             std::unique_ptr<AlarmSpeaker> speaker, QObject* parent)
    : QObject(parent), m_env(std::move(env)),
      m_files(programFiles(m_env.executablePath, m_env.fallbackConfigFolder)),
      m_sound(std::move(sound)), m_speaker(std::move(speaker)) {}

RingwardenApp::~RingwardenApp() = default;

void RingwardenApp::start() {
    attachToHost();
    // Before anything that ticks, draws or writes: a refused copy only shows its box.
    refuseSecondInstance();
    createWindow();
    readini();
    openWithOverlayList();
    readOwnCallsign();
    // The alarm cycle runs from here on: not behind the box that ends a start without a
    // callsign, where it would alarm and write history for a program that is leaving.
    m_engine->startTicking();
    m_window->show();
    // The rest once the events that came meanwhile (the first paint among them) have run.
    QMetaObject::invokeMethod(this, &RingwardenApp::finishStartup, Qt::QueuedConnection);
}

void RingwardenApp::finishStartup() {
    if (m_startupFinished)
        return;
    m_startupFinished = true;
    endIfStartupCut();
    enableHostEvents();
    LoadLists();
    emit startupFinished();
}

void RingwardenApp::attachToHost() {
    mKestrel = createHostOrEnd(m_env);
    try {
        mKestrelMap = mKestrel->Map();
    } catch (const HostError& error) {
        failStartup(error.message());
    }
    gKestrel = createHostOrEnd(m_env);
    connect(gKestrel.get(), &KestrelHost::Kestrel32IsClosing, this,
            &RingwardenApp::Kestrel32IsClosing);
    mBeacon.Callsign = QStringLiteral("QQ0ZZZ");
    mBeacon.Comment = QStringLiteral("Beacon by Ferris");
    try {
        gKestrel->SetBeacon(mBeacon);
    } catch (const HostError& error) {
        failStartup(error.message());
    }
}

void RingwardenApp::createWindow() {
    m_engine = std::make_unique<AlarmEngine>(*gKestrel, mKestrelMap, m_sound.get());
    m_engine->setWavFolder(m_files.wavFolder);
    m_engine->setOverlaysFolder([ownFolder = m_files.folder] {
        return overlayFolderPath(readHostFolder().folder, ownFolder);
    });
    m_notifier = std::make_unique<DesktopNotifier>();
    m_alerts =
        std::make_unique<AlertsHub>(*m_engine, historyFile(), m_notifier.get(), m_speaker.get());
    m_engine->setSwitchNeed(AlarmEngine::Switch::SpeakAlarm,
                            [alerts = m_alerts.get()] { return alerts->speechAvailable(); });
    m_window = std::make_unique<frmMain>(*m_engine);
    m_window->setWindowTitle(appTitle);
    m_window->setHelpFile(m_files.helpFile);
    connect(m_window.get(), &frmMain::unloading, this, &RingwardenApp::formUnload);
    connect(m_window.get(), &frmMain::exitRequested, this, &RingwardenApp::mnuFileExit);
    connect(m_window.get(), &frmMain::historyRequested, this,
            [this] { HistoryWindow::showHistory(m_window.get(), historyFile()); });
    connect(m_alerts.get(), &AlertsHub::historyFailed, this, &RingwardenApp::showHistoryFailure);
    // An open history window follows the file as it is written.
    connect(&m_alerts->history(), &AlarmHistory::appended, this, [](const HistoryEntry& entry) {
        if (HistoryWindow* shown = HistoryWindow::openWindow())
            shown->addEntry(entry);
    });
    connect(m_notifier.get(), &DesktopNotifier::raiseRequested, m_window.get(),
            &frmMain::bringToFront);
}

void RingwardenApp::refuseSecondInstance() {
    m_lock = std::make_unique<QLockFile>(lockPath(m_env.lockFolder, m_env.executablePath));
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return;
    showMessageBox(MessageIcon::Critical, appTitle,
                   QStringLiteral("Another instance of this program (") + appTitle +
                       QStringLiteral(") is already running"));
    endProcess(0);
}

void RingwardenApp::readini() {
    m_settings = std::make_unique<SettingsBinding>(m_files.iniFile, *m_engine, *m_window);
    m_settings->read();
}

void RingwardenApp::openWithOverlayList() {
    m_window->setShowWatchList(false);
    m_window->showHideWatchlist();
    m_window->setTimer2Enabled(false);
}

void RingwardenApp::readOwnCallsign() {
    const QString hostFolder = GetHostFolder();
    endIfStartupCut();
    const QString callsign = ownCallsignFrom(hostFolder + QStringLiteral("kestrel32.ini"));
    m_engine->setOwnCallsign(callsign);
    if (callsign == QStringLiteral("NOCALL"))
        DisplayMessage(kMessageCritical,
                       QStringLiteral("Error getting station callsign from Kestrel32.INI"),
                       m_files.helpFile);
    endIfStartupCut();
}

void RingwardenApp::enableHostEvents() {
    try {
        gKestrel->setEventsEnabled(-1);
    } catch (const HostError& error) {
        failStartup(error.message());
    }
}

void RingwardenApp::LoadLists() {
    const LoadedLists loaded = ::LoadLists(m_files.listFile);
    m_engine->loadLists(loaded.acked, loaded.watch);
    m_listFileUnreadRest = !loaded.complete;
    m_listsLoaded = true;
}

void RingwardenApp::endIfStartupCut() {
    if (m_startupCut)
        endProcess(0);
}

void RingwardenApp::cutStartup() {
    m_startupCut = true;
    if (m_engine)
        m_engine->shutDown();
    if (m_window) {
        m_window->closeWithEverythingOpen();
        return;
    }
    // Before the window exists only a start-up box can be open.
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
}

void RingwardenApp::saveini() {
    m_settings->save();
}

void RingwardenApp::SaveLists() {
    if (::SaveLists(m_files.listFile, m_engine->ackedCalls().items(),
                    m_engine->watchCalls().items(), m_listFileUnreadRest))
        m_listFileUnreadRest = false;
}

void RingwardenApp::Kestrel32IsClosing() {
    if (!m_listsLoaded) {
        cutStartup();
        return;
    }
    m_engine->shutDown();
    // Whatever box, menu or window is open would hold the shutdown until somebody answered
    // it: nobody may be there to.
    m_window->closeWithEverythingOpen();
}

void RingwardenApp::formUnload() {
    // A start-up that has not read the files has nothing of the operator's to write.
    if (!m_listsLoaded) {
        m_startupCut = true;
        m_engine->shutDown();
        return;
    }
    writeOnTheWayOut();
}

void RingwardenApp::mnuFileExit() {
    if (!m_listsLoaded) {
        m_startupCut = true;
        m_engine->shutDown();
        return;
    }
    writeOnTheWayOut();
    endProcess(0);
}

void RingwardenApp::writeOnTheWayOut() {
    // Each way out writes once: the host's closing closes the window, whose unload comes
    // here again.
    if (m_writtenOnTheWayOut)
        return;
    m_writtenOnTheWayOut = true;
    // No tick goes on against lists that are being written, nor starts afterwards.
    m_engine->shutDown();
    saveini();
    SaveLists();
    m_alerts->end();
}

QString RingwardenApp::historyFile() const {
    QString path = m_files.listFile;
    path.chop(4); // ".LST"
    return path + QStringLiteral(".HST");
}

void RingwardenApp::showHistoryFailure(const QString& message) {
    // After the tick that failed to write it, like the tick's own failures.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (!m_window->isUnloaded())
                showNoticeBox(MessageIcon::Warning, kDefaultMessageTitle, message);
        },
        Qt::QueuedConnection);
}
