#include "HostCore.h"

#include <algorithm>
#include <cmath>
#include <limits>

HostCore::HostCore(Scenario scenario, QObject* parent)
    : QObject(parent), m_scenario(std::move(scenario)), m_store(m_scenario.unit) {
    m_model = std::make_unique<TrackerModel>(m_scenario, m_store);
    m_scene.minutesPerMapUnit =
        geo::fromKm(1.0, DistanceUnit::NauticalMiles) / geo::fromKm(1.0, m_scenario.unit);
    m_clock.start();
}

void HostCore::setUnit(DistanceUnit unit) {
    if (unit == m_store.unit())
        return;
    m_store.setUnit(unit);
    m_scene.minutesPerMapUnit =
        geo::fromKm(1.0, DistanceUnit::NauticalMiles) / geo::fromKm(1.0, unit);
    raise(QStringLiteral("DataAvailable"));
    emit changed();
}

void HostCore::moveOwn(const QString& callsign, std::optional<std::pair<double, double>> position) {
    const HeardStation before = m_store.own();
    const bool wasPlaced = m_store.ownPlaced();
    if (position)
        m_store.setOwn(callsign, position->first, position->second, before.comment);
    else
        m_store.setOwnUnplaced(callsign);
    if (before.callsign == callsign && wasPlaced == m_store.ownPlaced() &&
        (!position || (before.lat == position->first && before.lon == position->second)))
        return;
    TrackerChanges changes;
    if (!before.callsign.isEmpty() && before.callsign != callsign)
        changes.deleted << before.callsign;
    if (position && !callsign.isEmpty())
        changes.heard << callsign;
    else
        raise(QStringLiteral("DataAvailable"));
    publish(changes);
    emit changed();
}

void HostCore::advanceTo(double seconds) {
    const TrackerChanges changes = m_model->advanceTo(seconds);
    m_scene.prune(nowMs());
    m_log.prune(nowMs());
    publish(changes);
}

void HostCore::publish(const TrackerChanges& changes, HeardVia via) {
    if (!changes.any())
        return;
    if (changes.deletedAll)
        m_log.forgetAllBut(m_store.ownCallsign());
    for (const QString& callsign : changes.deleted)
        m_log.forget(callsign);
    for (const QString& callsign : changes.heard)
        if (const HeardStation* station = m_store.find(callsign))
            m_log.heard(callsign, station->lat, station->lon, via, nowMs());
    if (changes.deletedAll)
        raise(QStringLiteral("NotifyDeleteAllStations"));
    for (const QString& callsign : changes.deleted)
        raise(QStringLiteral("NotifyDelete"), {callsign});
    for (const QString& callsign : changes.heard) {
        const std::optional<StationFix> fix = m_store.fix(callsign);
        if (fix)
            raise(QStringLiteral("NotifyBeacon"),
                  {callsign, fix->latitudeMinutes, fix->longitudeMinutes});
    }
    raise(QStringLiteral("DataAvailable"));
    emit changed();
}

void HostCore::deleteAllStations() {
    m_store.removeAll();
    m_log.forgetAllBut(m_store.ownCallsign());
    raise(QStringLiteral("NotifyDeleteAllStations"));
    raise(QStringLiteral("DataAvailable"));
    emit changed();
}

void HostCore::fitView() {
    // Frame the own station's surroundings: a watched station far away would otherwise
    // shrink the town to a dot.
    constexpr double surroundingsKm = 40.0;
    if (!m_store.ownPlaced())
        return; // nothing to frame round yet
    const HeardStation& own = m_store.own();
    double minX = own.lon * 60.0, maxX = minX;
    double minY = own.lat * 60.0, maxY = minY;
    for (const HeardStation& station : m_store.others()) {
        if (geo::greatCircleKm(own.lat, own.lon, station.lat, station.lon) > surroundingsKm)
            continue;
        minX = std::min(minX, station.lon * 60.0);
        maxX = std::max(maxX, station.lon * 60.0);
        minY = std::min(minY, station.lat * 60.0);
        maxY = std::max(maxY, station.lat * 60.0);
    }
    m_scene.fit(minX, minY, maxX, maxY);
}

qint16 HostCore::stationCount() const {
    return static_cast<qint16>(std::min(m_store.count(), int(std::numeric_limits<qint16>::max())));
}

QString HostCore::stationListItem(qint64 index) const {
    if (index < 0)
        throw CallRefused(QStringLiteral("station list index %1 is negative").arg(index));
    return m_store.entryText(static_cast<int>(std::min<qint64>(index, m_store.count())));
}

std::optional<StationFix> HostCore::getStation(const QString& callsign) const {
    return m_store.fix(callsign);
}

void HostCore::setEventsEnabled(qint64 value) {
    m_eventsEnabled = value != 0;
}

void HostCore::alertStation(const QString& callsign) {
    // A station may have left the list between the add-on's scan and this call: nothing
    // to highlight then, and nothing wrong either.
    if (m_store.find(callsign)) {
        m_scene.alert(callsign, nowMs());
        emit changed();
    }
}

void HostCore::setBeacon(const QString& callsign, const QString& comment) {
    m_beaconCallsign = callsign;
    m_beaconComment = comment;
    emit changed();
}

void HostCore::setDrawWidth(qint64 width) {
    if (!MapScene::validDrawWidth(width))
        throw CallRefused(QStringLiteral("DrawWidth %1 is outside 1..32767").arg(width));
    m_scene.drawWidth = static_cast<int>(width);
}

void HostCore::setDrawStyle(qint64 style) {
    if (!MapScene::validDrawStyle(style))
        throw CallRefused(QStringLiteral("DrawStyle %1 is outside 0..6").arg(style));
    m_scene.drawStyle = static_cast<int>(style);
}

void HostCore::setFillColor(qint64 colour) {
    m_scene.fillColour = static_cast<quint32>(colour);
}

qint16 HostCore::pixelHeight() const {
    return static_cast<qint16>(
        std::clamp(m_scene.pixelHeight, 0, int(std::numeric_limits<qint16>::max())));
}

void HostCore::drawCircle(double x, double y, double radius, qint64 colour, double startAngle,
                          double endAngle, double aspect) {
    for (const double value : {x, y, radius, startAngle, endAngle, aspect})
        if (!std::isfinite(value))
            throw CallRefused(QStringLiteral("DrawCircle needs finite numbers"));
    m_scene.addCircle(x, y, radius, static_cast<quint32>(colour), startAngle, endAngle, aspect,
                      nowMs());
    emit changed();
}

void HostCore::announceClosing() {
    emit hostEvent(QStringLiteral("Kestrel32IsClosing"), {});
}

void HostCore::raise(const QString& name, const QVariantList& args) {
    if (m_eventsEnabled)
        emit hostEvent(name, args);
}
