// Settings, option switches and the list file, as the main window applies and keeps them.
#include "ui/frmMain.h"

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>

#include "lists/ListFile.h"
#include "lists/TextList.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "ui/Twips.h"

void frmMain::readini() {
    // The default place centres the window on the primary screen's full area, as the
    // original measured the screen. The window manager's frame is not known before the
    // window is first shown, so the window is measured with its menu bar but without the
    // frame (a few pixels off centre at most).
    adjustSize();
    const QSize outer = size();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screenPixels = primary ? primary->geometry().size() : QSize(1024, 768);
    const double dpi = logicalDpi();
    const double centredLeft = pixelsToTwips(screenPixels.width() - outer.width(), dpi) / 2.0;
    const double centredTop = pixelsToTwips(screenPixels.height() - outer.height(), dpi) / 2.0;

    const IniSettings stored = readSettingsFile(mstrIniFile, centredLeft, centredTop);
    txtRadius->setText(stored.minDistance);
    gblnBringToFront = stored.bringToFront;
    mnuAlarmBringToFront->setChecked(gblnBringToFront);
    gblnAudibleAlarm = stored.audibleAlarm;
    mnuAlarm->setChecked(gblnAudibleAlarm);
    gblnScanStations = stored.scanStations;
    mnuOptionsStations->setChecked(gblnScanStations);
    enable_disable_stations();
    gblnScanOverlays = stored.scanOverlays;
    mnuOptionsOverlays->setChecked(gblnScanOverlays);
    enable_disable_overlays();
    moveToTwips(stored.left, stored.top);
    // A window that starts minimised keeps this place for the next save.
    setRememberedPosition(toInt16Rounded(stored.left), toInt16Rounded(stored.top));
    if (stored.minimized)
        setWindowState(windowState() | Qt::WindowMinimized);
}

void frmMain::saveini() {
    const bool minimized = isMinimized();
    if (!minimized)
        setRememberedPosition(toInt16Rounded(leftTwips()), toInt16Rounded(topTwips()));
    SavedSettings settings;
    settings.minDistance = txtRadius->text();
    settings.audibleAlarm = gblnAudibleAlarm;
    settings.bringToFront = gblnBringToFront;
    settings.left = mintLeft;
    settings.top = mintTop;
    settings.minimized = minimized;
    saveSettingsFile(mstrIniFile, settings);
}

void frmMain::mnuAlarm_Click() {
    gblnAudibleAlarm = !gblnAudibleAlarm;
    mnuAlarm->setChecked(gblnAudibleAlarm);
    writeSwitchSetting(mstrIniFile, kKeyAudibleAlarm, gblnAudibleAlarm);
}

void frmMain::mnuAlarmBringToFront_Click() {
    gblnBringToFront = !gblnBringToFront;
    mnuAlarmBringToFront->setChecked(gblnBringToFront);
    writeSwitchSetting(mstrIniFile, kKeyBringToFront, gblnBringToFront);
}

void frmMain::mnuOptionsStations_Click() {
    gblnScanStations = !gblnScanStations;
    mnuOptionsStations->setChecked(gblnScanStations);
    writeSwitchSetting(mstrIniFile, kKeyScanStations, gblnScanStations);
    enable_disable_stations();
}

void frmMain::mnuOptionsOverlays_Click() {
    gblnScanOverlays = !gblnScanOverlays;
    mnuOptionsOverlays->setChecked(gblnScanOverlays);
    writeSwitchSetting(mstrIniFile, kKeyScanOverlays, gblnScanOverlays);
    enable_disable_overlays();
}

void frmMain::LoadLists() {
    const LoadedLists loaded = ::LoadLists(mstrListFile);
    for (const QString& callsign : loaded.acked)
        ackedCalls->add(callsign);
    for (const QString& callsign : loaded.watch)
        watchCalls->add(callsign);
    m_listFileUnreadRest = !loaded.complete;
}

void frmMain::SaveLists() {
    if (::SaveLists(mstrListFile, ackedCalls->items(), watchCalls->items(), m_listFileUnreadRest))
        m_listFileUnreadRest = false;
}
