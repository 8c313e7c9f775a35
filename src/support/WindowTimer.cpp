#include "support/WindowTimer.h"

WindowTimer::WindowTimer(int intervalMs, QObject* parent) : QObject(parent) {
    m_timer.setInterval(intervalMs);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &WindowTimer::timeout);
}

void WindowTimer::setEnabled(bool enabled) {
    if (!enabled) {
        m_timer.stop();
        return;
    }
    if (m_timer.isActive())
        return;
    m_timer.start();
    ++m_startCount;
}
