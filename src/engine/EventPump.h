#pragma once

#include <QElapsedTimer>

// Lets the pending events run, but not more often than once a millisecond: the walk over a
// full list of 32,767 stations asks after every station, and each pass through an empty
// event loop costs a few microseconds, a sixth of the walk. A millisecond keeps the window
// as responsive as every station did.
class EventPump final {
public:
    // Runs the events when a millisecond has passed since they last ran; true when it did.
    bool operator()();

private:
    static constexpr qint64 intervalNs = 1'000'000;
    QElapsedTimer m_sinceLastRun;
};
