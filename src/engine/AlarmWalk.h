#pragma once

#include <functional>
#include <memory>

#include "engine/AlarmEngine.h"
#include "host/HostCursor.h"

// A walk of the tick over the host's list, between two of its steps: where it stands and
// what it does with each station.
struct AlarmEngine::Walk {
    std::unique_ptr<HostCursor> cursor;
    std::function<bool(const QString&)> wanted;
    std::function<void(const QString&)> found;
    std::function<void(bool)> done;
    qint16 index = 0;
};
