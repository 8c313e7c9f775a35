#pragma once

#include <memory>
#include <optional>
#include <stdexcept>

#include <QElapsedTimer>
#include <QObject>
#include <QVariantList>

#include "MapScene.h"
#include "Scenario.h"
#include "StationStore.h"
#include "TrackerModel.h"
#include "map/StationLog.h"

// A call the tracker refuses; the text goes back to the caller as the error message.
class CallRefused : public std::runtime_error {
public:
    explicit CallRefused(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The tracker itself, apart from the bus and the window: its station list playing the
// scenario, its map scene, the beacon it was handed, and the events it raises. Every
// automation operation is a member here; the bus layer only translates.
class HostCore final : public QObject {
    Q_OBJECT
public:
    explicit HostCore(Scenario scenario, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(HostCore)

    StationStore& store() { return m_store; }
    const StationStore& store() const { return m_store; }
    MapScene& scene() { return m_scene; }
    // Trails, ages and packets of the stations in the list.
    StationLog& log() { return m_log; }
    const StationLog& log() const { return m_log; }
    const Scenario& scenario() const { return m_scenario; }
    qint64 nowMs() const { return m_clock.elapsed(); }

    // Plays the scenario up to `seconds` after start and raises the events that follow.
    void advanceTo(double seconds);
    // Raises the events of changes made to the list outside the scenario (the radio feed),
    // heard the way `via` says.
    void publish(const TrackerChanges& changes, HeardVia via = HeardVia::Scenario);
    // The operator clears the list; stations still heard come back as they are heard.
    void deleteAllStations();
    // The operator changed the distance unit: every distance, radius and ScaleHeight follows.
    void setUnit(DistanceUnit unit);
    // The operator changed the own station: its callsign, and its position (none: not known
    // yet, so no distance is measured).
    void moveOwn(const QString& callsign, std::optional<std::pair<double, double>> position);
    // Shows every station of the list (and the own station) on the map.
    void fitView();

    // --- the application object ---
    qint16 stationCount() const;
    QString stationListItem(qint64 index) const;
    std::optional<StationFix> getStation(const QString& callsign) const;
    void setEventsEnabled(qint64 value);
    bool eventsEnabled() const { return m_eventsEnabled; }
    void alertStation(const QString& callsign);
    void setBeacon(const QString& callsign, const QString& comment);
    const QString& beaconCallsign() const { return m_beaconCallsign; }
    const QString& beaconComment() const { return m_beaconComment; }

    // --- the map object ---
    void setDrawWidth(qint64 width);
    void setDrawStyle(qint64 style);
    void setFillColor(qint64 colour);
    double scaleHeight() const { return m_scene.scaleHeight(); }
    qint16 pixelHeight() const;
    void drawCircle(double x, double y, double radius, qint64 colour, double startAngle,
                    double endAngle, double aspect);

    // Raises Kestrel32IsClosing (whether or not events were enabled: an add-on must learn
    // that its host goes away).
    void announceClosing();

signals:
    // An event to send; only raised while events are enabled (closing always).
    void hostEvent(const QString& name, const QVariantList& args);
    // The list, the map or the beacon changed: the window repaints.
    void changed();

private:
    void raise(const QString& name, const QVariantList& args = {});

    Scenario m_scenario;
    StationStore m_store;
    std::unique_ptr<TrackerModel> m_model;
    MapScene m_scene;
    StationLog m_log;
    QElapsedTimer m_clock;
    bool m_eventsEnabled = false;
    QString m_beaconCallsign;
    QString m_beaconComment;
};
