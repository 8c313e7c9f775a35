#include "engine/EventPump.h"

#include <QCoreApplication>

bool EventPump::operator()() {
    if (m_sinceLastRun.isValid() && m_sinceLastRun.nsecsElapsed() < intervalNs)
        return false;
    QCoreApplication::processEvents();
    m_sinceLastRun.start();
    return true;
}
