#pragma once

#include <QEventLoop>
#include <QTimer>

#include "engine/AlarmEngine.h"

// Starts a tick and runs the event loop until it has ended (or boundMs have passed, for a
// tick that hangs); true when it ended. Tests and benchmarks drive the program's
// asynchronous tick with it as the window's event loop would.
inline bool tickToEnd(AlarmEngine& engine, int boundMs = 20000) {
    QEventLoop loop;
    bool ended = false;
    const auto connection = QObject::connect(&engine, &AlarmEngine::tickEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    engine.timer1Timer();
    if (engine.tickRunning()) {
        bound.start(boundMs);
        loop.exec();
    } else {
        ended = true;
    }
    QObject::disconnect(connection);
    return ended;
}
