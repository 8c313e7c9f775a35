#include <cstdio>

#include <QApplication>
#include <QIcon>

#include "alerts/LazySpeaker.h"
#include "app/ProgramArguments.h"
#include "app/RingwardenApp.h"
#include "host/dbus/KestrelHostConnection.h"
#include "sound/QtSoundPlayer.h"
#include "speech/QtAlarmSpeaker.h"
#include "support/AppPaths.h"
#include "ui/WidgetMessageBox.h"

int main(int argc, char** argv) {
    // Answered before any window platform is loaded, so that they work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramArguments command = readProgramArguments(arguments);
    if (command.outcome == ProgramArguments::Outcome::Print) {
        std::fputs(qPrintable(command.text), stdout);
        return command.exitCode;
    }
    if (command.outcome == ProgramArguments::Outcome::Refuse) {
        std::fprintf(stderr, "%s\n", qPrintable(command.text));
        return command.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ringwarden"));
    QApplication::setDesktopFileName(QStringLiteral("ringwarden"));
    installWidgetMessageBoxes();
    QApplication::setWindowIcon(QIcon(installedIconFile(QApplication::applicationDirPath())));

    StartupEnvironment env = defaultStartupEnvironment();
    env.createHost = [] { return createKestrelHost(); };
    RingwardenApp ringwarden(std::move(env), std::make_unique<QtSoundPlayer>(),
                             std::make_unique<LazySpeaker>([]() -> std::unique_ptr<AlarmSpeaker> {
                                 return std::make_unique<QtAlarmSpeaker>();
                             }));
    ringwarden.start();
    return app.exec();
}
