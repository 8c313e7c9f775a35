// The alarm cycle's ties to the window: the context the engine works on, the two timers'
// handlers, and what the window does when the alarm asks it to come forward.
#include "ui/frmMain.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>

#include "engine/AlarmContext.h"
#include "engine/AlarmCycle.h"
#include "engine/SoundPlayer.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "support/WindowTimer.h"

void frmMain::attachAlarmContext() {
    auto ctx = std::make_unique<AlarmContext>(*gKestrel, *mStation, *stationLines, *ackedCalls,
                                              *watchCalls, *overlayLines);
    ctx->mKestrelMap = mKestrelMap;
    ctx->ownCallsign = gstrOwnCallsign;
    ctx->radiusText = [this] { return txtRadius->text(); };
    ctx->setMinDistCaption = [this](const QString& caption) { lblMinDist->setText(caption); };
    ctx->processEvents = [] { QCoreApplication::processEvents(); };
    ctx->gblnScanStations = [this] { return gblnScanStations; };
    ctx->gblnScanOverlays = [this] { return gblnScanOverlays; };
    ctx->gblnAudibleAlarm = [this] { return gblnAudibleAlarm; };
    ctx->gblnBringToFront = [this] { return gblnBringToFront; };
    ctx->overlaysFolder = overlaysFolderLookup;
    ctx->wavFolder = wavFolder;
    ctx->sound = m_sound.get();
    ctx->bringToFront = [this] { bringToFront(); };
    ctx->reportFailure = [this](const QString& message) { reportTickFailure(message); };
    ctx->setShowWatchList = [this](bool value) { gblnShowWatchList = value; };
    ctx->show_hide_watchlist = [this] { show_hide_watchlist(); };
    ctx->disableTimer2 = [this] { Timer2->setEnabled(false); };
    m_alarm = std::move(ctx);
}

void frmMain::setSoundPlayer(std::unique_ptr<SoundPlayer> player) {
    m_sound = std::move(player);
    if (m_alarm)
        m_alarm->sound = m_sound.get();
}

void frmMain::Timer1_Timer() {
    // Start-up lets the first tick through only once the station object exists.
    if (!m_alarm || m_unloaded)
        return;
    BusyScope busy(*this);
    ::Timer1_Timer(*m_alarm);
    dblMinDist = m_alarm->dblMinDist;
}

void frmMain::bringToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void frmMain::reportTickFailure(const QString& message) {
    // Shown after the tick has ended, so that ticks go on while the box is open and find
    // the host again when it comes back.
    const QString text =
        QStringLiteral("The alarm cycle could not talk to Kestrel32: ") + message +
        QStringLiteral("\r\n\r\nRingwarden keeps trying every 10 seconds; this message is not "
                       "repeated until the host has answered again.");
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (!m_unloaded)
                hint(MessageIcon::Warning, text);
        },
        Qt::QueuedConnection);
}
