#pragma once

#include <functional>

#include <QString>

#include "engine/OverlayItems.h"
#include "host/KestrelHost.h"
#include "host/KestrelMap.h"
#include "host/KestrelStation.h"
#include "lists/TextList.h"

class SoundPlayer;

// Everything the scans and the alarm cycle work on. The main window owns the host objects,
// the lists and the switches; it fills one AlarmContext with references to them and hands
// it to scan_stations, scan_watchlist, scan_overlays, Timer1_Timer and Timer2_Timer.
// Callbacks left empty do nothing (switches left empty read false).
struct AlarmContext {
    AlarmContext(KestrelHost& host, KestrelStation& station, TextList& stations, TextList& acked,
                 TextList& watch, TextList& overlayItems)
        : gKestrel(host), mStation(station), lstStations(stations), lstAcked(acked),
          lstWatch(watch), lstOverlayItems(overlayItems) {}

    // --- the host ---
    KestrelHost& gKestrel;
    // The host's map; the marks fail (and the tick ends) while it is null.
    KestrelMap* mKestrelMap = nullptr;
    // The one station object every scan and the tick reuse.
    KestrelStation& mStation;
    QString ownCallsign; // gstrOwnCallsign

    // --- the window's lists ---
    TextList& lstStations;     // alarm lines, sorted
    TextList& lstAcked;        // bare callsigns
    TextList& lstWatch;        // bare callsigns
    TextList& lstOverlayItems; // overlay lines, as added

    // The text of txtRadius; read afresh for every station and every object.
    std::function<QString()> radiusText;
    // Sets the caption of lblMinDist.
    std::function<void(const QString&)> setMinDistCaption;
    // The smallest distance listed in the current tick (the window shows it in lblMinDist).
    double dblMinDist = 99999.0;

    // Lets pending window events run (QCoreApplication::processEvents in the window; a
    // no-op in benchmarks). Operator commands and host events can run inside it.
    std::function<void()> processEvents;

    // --- option switches, read on every tick ---
    std::function<bool()> gblnScanStations;
    std::function<bool()> gblnScanOverlays;
    std::function<bool()> gblnAudibleAlarm;
    std::function<bool()> gblnBringToFront;

    // --- overlay objects ---
    // The folder that holds the *.pos files, asked for on every load (see overlayFolderPath).
    std::function<QString()> overlaysFolder;
    OverlayTable overlays; // gOverlayItems and gintOverlayCount

    // --- the alarm ---
    QString wavFolder;                  // the WAV folder beside the executable
    SoundPlayer* sound = nullptr;       // no sound while null
    std::function<void()> bringToFront; // raise, restore if minimised, normal stacking again

    // A tick that failed (host gone, map call refused, ...) reports here once; further
    // failures stay quiet until a tick has run through, which calls failureCleared.
    std::function<void(const QString& message)> reportFailure;
    std::function<void()> failureCleared;

    // --- watch-list fold-away (Timer2) ---
    std::function<void(bool)> setShowWatchList; // gblnShowWatchList = value
    std::function<void()> show_hide_watchlist;
    std::function<void()> disableTimer2;

    // --- tick state, kept by Timer1_Timer ---
    // True while a tick runs; a second tick that fires meanwhile (from inside processEvents
    // or the sound's wait) is dropped. The window must not close while it is true: it sets
    // closeRequested instead, and the tick calls closeWindow when it ends.
    bool tickRunning = false;
    bool closeRequested = false;
    std::function<void()> closeWindow;
    bool failureReported = false;
};
