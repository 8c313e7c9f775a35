#include "feed/GpsOwnStation.h"

#include "Geo.h"
#include "HostCore.h"
#include "feed/GpsdReport.h"

GpsOwnStation::GpsOwnStation(HostCore& core, QObject* parent) : QObject(parent), m_core(core) {
    m_fixTimer.setSingleShot(true);
    connect(&m_fixTimer, &QTimer::timeout, this, &GpsOwnStation::loseFix);
    connect(&m_client, &feed::GpsdClient::fixReceived, this, &GpsOwnStation::onFix);
    // The map's heading marker and the own station's course and speed.
    connect(&m_client, &feed::GpsdClient::motionReceived, this,
            [this](double track, double speedKmh) {
                if (m_core.store().hasOwn())
                    m_core.log().setMotion(m_core.store().ownCallsign(), track, speedKmh);
            });
    connect(&m_client, &feed::FeedLink::stateChanged, this, [this](feed::FeedLink::State state) {
        if (state != feed::FeedLink::State::Connected)
            loseFix();
        emit statusChanged();
    });
    connect(&m_client, &feed::GpsdClient::refusalChanged, this, &GpsOwnStation::statusChanged);
}

bool GpsOwnStation::start(const QString& host, quint16 port) {
    m_lastFix = QDateTime::currentDateTime();
    return m_client.start(host, port);
}

void GpsOwnStation::stop() {
    m_fixTimer.stop();
    m_client.stop();
}

QString GpsOwnStation::statusText() const {
    QString text;
    if (m_hasFix) {
        text = QStringLiteral("GPS: ") + feed::fixWords(m_mode);
    } else {
        text = QStringLiteral("GPS: no fix since %1")
                   .arg(m_lastFix.time().toString(QStringLiteral("HH:mm:ss")));
    }
    if (m_client.state() != feed::FeedLink::State::Connected)
        text += QStringLiteral("; ") + m_client.stateText();
    else if (!m_client.refusal().isEmpty())
        text += QStringLiteral("; ") + m_client.refusal();
    return text;
}

void GpsOwnStation::onFix(double latitude, double longitude, int mode) {
    if (!m_glitches.take(latitude, longitude, m_core.nowMs()))
        return;
    m_lastFix = QDateTime::currentDateTime();
    m_fixTimer.start(m_fixTimeoutMs);
    const bool hadFix = m_hasFix;
    m_hasFix = true;
    const bool modeChanged = mode != m_mode;
    m_mode = mode;
    StationStore& store = m_core.store();
    const HeardStation own = store.own();
    const bool moving = !hadFix || geo::greatCircleKm(own.lat, own.lon, latitude, longitude) >=
                                       GpsOwnStation::MinMoveKm;
    if (moving) {
        store.setOwn(own.callsign, latitude, longitude, own.comment);
        TrackerChanges changes;
        if (store.hasOwn())
            changes.heard << own.callsign;
        m_core.publish(changes, HeardVia::Gps);
        emit moved(latitude, longitude);
    }
    if (moving || !hadFix || modeChanged)
        emit statusChanged();
}

void GpsOwnStation::loseFix() {
    m_fixTimer.stop();
    if (!m_hasFix)
        return;
    m_hasFix = false;
    emit statusChanged();
}
