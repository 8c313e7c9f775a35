#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include "feed/GpsGlitchFilter.h"
#include "feed/GpsdClient.h"

class HostCore;

// The own station on the move: follows gpsd's fixes into the tracker's station list, so
// that the own entry and every distance follow the operator, and raises NotifyBeacon for
// the own station as it moves. Without a fix (none yet, none for a while, gpsd gone) the
// last known position stays and the status says since when there has been no fix.
class GpsOwnStation final : public QObject {
    Q_OBJECT
public:
    // gpsd reports about once a second; ten seconds without a fix mean the fix is lost.
    static constexpr int DefaultFixTimeoutMs = 10000;
    // Fixes nearer than this to the position taken last are the receiver's jitter.
    static constexpr double MinMoveKm = 0.005;

    explicit GpsOwnStation(HostCore& core, QObject* parent = nullptr);

    bool start(const QString& host, quint16 port);
    void stop();
    void setFixTimeout(int ms) { m_fixTimeoutMs = ms; }

    bool hasFix() const { return m_hasFix; }
    // "GPS: 3D fix" (or "2D fix"), or "GPS: no fix since 12:14:25", followed by the state
    // of the gpsd link while it is not connected, or why the gpsd it reached is not read.
    QString statusText() const;
    feed::GpsdClient& client() { return m_client; }

signals:
    // The own station moved (the store is updated and the events are raised).
    void moved(double latitude, double longitude);
    void statusChanged();

private:
    void onFix(double latitude, double longitude, int mode);
    void loseFix();

    HostCore& m_core;
    feed::GpsdClient m_client;
    GpsGlitchFilter m_glitches;
    QTimer m_fixTimer;
    int m_fixTimeoutMs = DefaultFixTimeoutMs;
    bool m_hasFix = false;
    int m_mode = 0;      // gpsd's, of the fix taken last
    QDateTime m_lastFix; // or the start, before the first fix
};
