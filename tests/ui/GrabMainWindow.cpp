// Writes a picture of the main window with a few sample lines, for the README:
//   grab_main_window docs/main-window.png
#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include "lists/TextList.h"
#include "ui/frmMain.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    frmMain form;
    form.setWindowTitle(QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0"));
    form.show_hide_watchlist();
    for (const char* line :
         {"PA3XYZ-9 distance 2.375", "PD1ABC distance .85", "PE5QRS (watch) 41.2"})
        form.stationLines->add(QString::fromLatin1(line));
    for (const char* call : {"PA0OLD", "PD7CAR-2"})
        form.ackedCalls->add(QString::fromLatin1(call));
    form.overlayLines->add(QStringLiteral("TOWER 2.5km (water tower)"));
    form.overlayLines->add(QStringLiteral("CHURCH 4.125km (St. Mary)"));
    form.lblMinDist->setText(QStringLiteral("(minimum distance observed is .85)"));
    form.lblOVLItem->setText(QStringLiteral("TOWER 2.5km (water tower)"));
    form.show();
    QApplication::processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
