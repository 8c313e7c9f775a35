#include "app/Startup.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "BuildInfo.h"
#include "app/HostFolder.h"
#include "engine/OverlayItems.h"
#include "lists/TextList.h"
#include "settings/IniHelpers.h"
#include "support/AppPaths.h"
#include "support/DisplayMessage.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "support/WindowTimer.h"
#include "ui/frmMain.h"

namespace {

bool folderIsWritable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// A lock per executable path, so that copies installed in two places do not refuse each
// other while a second start of the same one is refused.
QString lockPath(const QString& lockFolder, const QString& executablePath) {
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(executablePath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QDir(lockFolder)
        .filePath(QStringLiteral("ringwarden-") + QString::fromLatin1(key) +
                  QStringLiteral(".lock"));
}

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
QString readOwnCallsign(const QString& hostIniFile) {
    const QString nocall = QStringLiteral("NOCALL");
    if (!hostIniFile.contains(QLatin1Char('/')))
        return nocall;
    return ReadIniString(hostIniFile, QStringLiteral("STATION"), QStringLiteral("CALLSIGN"),
                         nocall);
}

} // namespace

ProgramFiles programFiles(const QString& executablePath, const QString& fallbackConfigFolder) {
    const QFileInfo executable(executablePath);
    ProgramFiles files;
    files.folder = executable.absolutePath() + QLatin1Char('/');
    files.baseName = executable.completeBaseName();
    QString dataFolder = files.folder;
    // An installed program (its data in share/, or a folder it may not write) keeps the
    // operator's files in the configuration folder, even when run by root.
    const bool installed = installedDataDir(executable.absolutePath()) != executable.absolutePath();
    if ((installed || !folderIsWritable(files.folder)) && !fallbackConfigFolder.isEmpty()) {
        QDir().mkpath(fallbackConfigFolder);
        dataFolder = QDir(fallbackConfigFolder).absolutePath() + QLatin1Char('/');
    }
    files.iniFile = dataFolder + files.baseName + QStringLiteral(".INI");
    files.listFile = dataFolder + files.baseName + QStringLiteral(".LST");
    // An installed program finds its help page and sounds where they were installed.
    files.helpFile = installedHelpFile(executable.absolutePath());
    files.wavFolder = installedDataDir(executable.absolutePath()) + QStringLiteral("/WAV");
    return files;
}

StartupEnvironment defaultStartupEnvironment() {
    StartupEnvironment env;
    env.executablePath = QCoreApplication::applicationFilePath();
    env.fallbackConfigFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        runtime = QDir::temp().filePath(QStringLiteral("ringwarden-locks"));
        QDir().mkpath(runtime);
    }
    env.lockFolder = runtime;
    return env;
}

std::unique_ptr<QLockFile> Form_Load(frmMain& form, const StartupEnvironment& env) {
    // 1-5: attach to the host and hand it the beacon.
    form.mKestrel = createHostOrEnd(env);
    try {
        form.mKestrelMap = form.mKestrel->Map();
    } catch (const HostError& error) {
        failStartup(error.message());
    }
    form.mBeacon = KestrelBeacon{};
    form.gKestrel = createHostOrEnd(env);
    QObject::connect(form.gKestrel.get(), &KestrelHost::Kestrel32IsClosing, &form,
                     &frmMain::gKestrel_Kestrel32IsClosing);
    form.mBeacon.Callsign = QStringLiteral("QQ0ZZZ");
    form.mBeacon.Comment = QStringLiteral("Beacon by Ferris");
    try {
        form.gKestrel->SetBeacon(form.mBeacon);
    } catch (const HostError& error) {
        failStartup(error.message());
    }

    // 6-8: names, files, caption.
    gstrAppName = QStringLiteral("Kestrel32 add-on Ringwarden");
    gstrAppVersion = QStringLiteral("V%1.%2.%3")
                         .arg(BuildInfo::major)
                         .arg(BuildInfo::minor)
                         .arg(BuildInfo::revision);
    gstrAppTitle = gstrAppName + QLatin1Char(' ') + gstrAppVersion;
    const ProgramFiles files = programFiles(env.executablePath, env.fallbackConfigFolder);
    form.mstrIniFile = files.iniFile;
    form.mstrListFile = files.listFile;
    gstrHelpFile = files.helpFile;
    form.wavFolder = files.wavFolder;
    form.setWindowTitle(gstrAppTitle);

    // 9: one instance per executable.
    auto lock = std::make_unique<QLockFile>(lockPath(env.lockFolder, env.executablePath));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        showMessageBox(MessageIcon::Critical, gstrAppTitle,
                       QStringLiteral("Another instance of this program (") + gstrAppTitle +
                           QStringLiteral(") is already running"));
        endProcess(0);
    }

    // 10-13: the station object, the settings, the right-hand panel.
    form.mStation = std::make_unique<KestrelStation>();
    form.readini();
    form.gblnShowWatchList = false;
    form.show_hide_watchlist();
    form.Timer2->setEnabled(false);

    // 14-17: the own callsign from the host's settings file.
    const QString hostFolder = GetHostFolder();
    gstrHostIniFile = hostFolder + QStringLiteral("kestrel32.ini");
    gstrOwnCallsign = readOwnCallsign(gstrHostIniFile);
    if (gstrOwnCallsign == QStringLiteral("NOCALL"))
        DisplayMessage(kMessageCritical,
                       QStringLiteral("Error getting station callsign from Kestrel32.INI"));

    // 18-21: show, let the first messages (and a due tick) run, events on, lists.
    form.overlaysFolderLookup = [ownFolder = files.folder] {
        const HostFolderResult host = readHostFolder();
        return overlayFolderPath(host.folder, ownFolder);
    };
    form.attachAlarmContext();
    form.show();
    QCoreApplication::processEvents();
    try {
        form.gKestrel->setEventsEnabled(-1);
    } catch (const HostError& error) {
        failStartup(error.message());
    }
    form.LoadLists();
    return lock;
}
