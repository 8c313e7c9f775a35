#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "engine/AlarmEngine.h"
#include "host/HostCursor.h"
#include "host/KestrelMap.h"

// A walk of the tick over the host's list, between two of its steps: where it stands and
// what it does with each station.
struct AlarmEngine::Walk {
    std::unique_ptr<HostCursor> cursor;
    // What the pass wants, as the lists stand (asked afresh for every block), and what it
    // wanted when the walk began.
    std::function<WantedStations()> wanted;
    WantedStations wantedAtStart;
    // A command changed what the pass wants since the walk began: blocks asked before may
    // have chosen their stations otherwise, so each station is asked again at its turn.
    bool wantedChanged = false;
    std::function<void(const QString&)> found;
    std::function<void(bool)> done;
    qint16 index = 0;
    // The block the cursor brought, until it is handled.
    const HostBlock* block = nullptr;
    // The walk reached the end of the list.
    bool through = false;
    // What ended the walk early (its station and the rest of its block are not handled).
    std::exception_ptr stopped;

    // A station in range of this block, decided but not yet listed: its line (none when
    // acknowledged) waits for its ring, so that a ring the host refuses ends the pass
    // where marking station by station would end it.
    struct PendingRing {
        QString line;
        double distance;
        KestrelMap::StationRing ring;
    };
    std::vector<PendingRing> pending;
    std::unique_ptr<StationRingsReply> rings;
};
