#include <QApplication>
#include <QIcon>
#include <QLockFile>

#include "app/Startup.h"
#include "engine/QtSoundPlayer.h"
#include "host/dbus/KestrelHostConnection.h"
#include "support/AppPaths.h"
#include "ui/WidgetMessageBox.h"
#include "ui/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ringwarden"));
    installWidgetMessageBoxes();
    QApplication::setWindowIcon(QIcon(installedIconFile(QApplication::applicationDirPath())));

    frmMain form;
    form.setSoundPlayer(std::make_unique<QtSoundPlayer>());
    StartupEnvironment env = defaultStartupEnvironment();
    env.createHost = [] { return createKestrelHost(); };
    const std::unique_ptr<QLockFile> instanceLock = Form_Load(form, env);
    return app.exec();
}
