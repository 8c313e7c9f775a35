#pragma once

#include <QObject>
#include <QTimer>

// A window timer as the window's commands expect it: switching it on while it is on
// changes nothing (the running interval goes on); switching it on from off starts a full
// interval anew. Tests call fire() instead of waiting and read startCount() to see
// whether a command restarted the interval.
class WindowTimer final : public QObject {
    Q_OBJECT
public:
    explicit WindowTimer(int intervalMs, QObject* parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    // How often the interval was started from off: each switch-on after a switch-off.
    int startCount() const { return m_startCount; }
    // Runs the handler now, as an elapsed interval would.
    void fire() { emit timeout(); }

signals:
    void timeout();

private:
    QTimer m_timer;
    int m_startCount = 0;
};
