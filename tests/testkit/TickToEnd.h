#pragma once

#include <QEventLoop>
#include <QTimer>

#include "engine/AlarmEngine.h"

// Starts a tick and runs the event loop until it has ended (or boundMs have passed, for a
// tick that hangs); true when it ended. Tests and benchmarks drive the program's
// asynchronous tick with it as the window's event loop would.
inline bool tickToEnd(AlarmEngine& engine, int boundMs = 20000) {
    QEventLoop loop; // the connections and the bound go with it
    bool ended = false;
    QObject::connect(&engine, &AlarmEngine::tickEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(boundMs, &loop, &QEventLoop::quit);
    engine.timer1Timer();
    if (!engine.tickRunning())
        return true;
    loop.exec();
    return ended;
}
