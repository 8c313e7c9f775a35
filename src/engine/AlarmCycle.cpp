#include "engine/AlarmCycle.h"

#include <exception>

#include <QDir>

#include "engine/AlarmContext.h"
#include "engine/ContextAccess.h"
#include "engine/OverlayItems.h"
#include "engine/Scans.h"
#include "engine/SharedRules.h"
#include "engine/SoundPlayer.h"
#include "lists/Commands.h"
#include "lists/MapMarks.h"

namespace {

bool on(const std::function<bool()>& flag) {
    return flag && flag();
}

// The full path of a file of the WAV folder, with the name as the folder spells it
// (the lookup ignores case), or empty when there is none.
QString lookUp(const QString& folder, const char* name) {
    if (folder.isEmpty())
        return {};
    const QStringList found =
        QDir(folder).entryList({QString::fromLatin1(name)}, QDir::Files | QDir::Hidden);
    if (found.isEmpty())
        return {};
    return QDir(folder).filePath(found.first());
}

void drawRange(AlarmContext& ctx) {
    DrawRangeCircle(mapOf(ctx), ctx.mStation.Longitude, ctx.mStation.Latitude, radiusOf(ctx));
    // The counter adds 0.2 to a double, so it takes 32 values from 0 to about 6.2.
    for (double a = 0.0; a <= 6.28; a += 0.2) {
        DrawRangeArc(mapOf(ctx), ctx.mStation.Longitude, ctx.mStation.Latitude, radiusOf(ctx),
                     static_cast<float>(a), a + 0.2);
        letEventsRun(ctx);
    }
}

void soundAlarm(AlarmContext& ctx, int stationCount) {
    if (stationCount >= 5) {
        QString path = lookUp(ctx.wavFolder, kWavManyStations);
        if (path.isEmpty())
            path = lookUp(ctx.wavFolder, kWavSiren);
        if (!path.isEmpty() && ctx.sound)
            ctx.sound->playAsync(path);
    } else {
        const QString path = lookUp(ctx.wavFolder, kWavFewStations);
        if (!path.isEmpty() && ctx.sound)
            ctx.sound->playToEnd(path);
        // The list is read afresh: a command may have changed it while the sound played.
        for (int i = 0; i < ctx.lstStations.count(); ++i) {
            ctx.gKestrel.AlertStation(callsignOfLine(ctx.lstStations.at(i)));
        }
    }
    letEventsRun(ctx);
}

void runTick(AlarmContext& ctx) {
    ctx.mStation.Callsign = ctx.ownCallsign;
    if (ctx.gKestrel.GetStation(ctx.mStation))
        drawRange(ctx);

    int stationCount = 0;
    int watchCount = 0;
    if (on(ctx.gblnScanStations)) {
        stationCount = scan_stations(ctx);
        watchCount = scan_watchlist(ctx);
    }
    const bool alarm = stationCount > 0 || watchCount > 0;

    if (on(ctx.gblnScanOverlays))
        scan_overlays(ctx);

    if (!alarm)
        return;
    if (on(ctx.gblnAudibleAlarm))
        soundAlarm(ctx, stationCount);
    if (on(ctx.gblnBringToFront) && ctx.bringToFront)
        ctx.bringToFront();
}

void reportOnce(AlarmContext& ctx, const QString& message) {
    if (ctx.failureReported)
        return;
    ctx.failureReported = true;
    if (ctx.reportFailure)
        ctx.reportFailure(message);
}

// Clears the running flag however the tick ends, and then carries out a close request that
// came in while it ran.
class TickGuard {
public:
    explicit TickGuard(AlarmContext& ctx) : m_ctx(ctx) { m_ctx.tickRunning = true; }
    ~TickGuard() {
        m_ctx.tickRunning = false;
        if (m_ctx.closeRequested) {
            m_ctx.closeRequested = false;
            if (m_ctx.closeWindow)
                m_ctx.closeWindow();
        }
    }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    AlarmContext& m_ctx;
};

} // namespace

void Timer1_Timer(AlarmContext& ctx) {
    if (ctx.tickRunning)
        return;
    const TickGuard guard(ctx);
    try {
        runTick(ctx);
        if (ctx.failureReported) {
            ctx.failureReported = false;
            if (ctx.failureCleared)
                ctx.failureCleared();
        }
    } catch (const std::exception& error) {
        reportOnce(ctx, QString::fromStdString(error.what()));
    } catch (...) {
        reportOnce(ctx, QStringLiteral("The alarm cycle failed."));
    }
}

void Timer2_Timer(AlarmContext& ctx) {
    if (ctx.setShowWatchList)
        ctx.setShowWatchList(false);
    if (ctx.show_hide_watchlist)
        ctx.show_hide_watchlist();
    if (ctx.disableTimer2)
        ctx.disableTimer2();
}
