#include <QApplication>
#include <QIcon>

#include "alerts/LazySpeaker.h"
#include "app/RingwardenApp.h"
#include "host/dbus/KestrelHostConnection.h"
#include "sound/QtSoundPlayer.h"
#include "speech/QtAlarmSpeaker.h"
#include "support/AppPaths.h"
#include "ui/WidgetMessageBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ringwarden"));
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
