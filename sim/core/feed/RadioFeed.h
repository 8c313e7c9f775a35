#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QObject>
#include <QTimer>

#include "feed/AprsIsClient.h"
#include "feed/FeedOptions.h"
#include "feed/FeedStations.h"
#include "feed/GpsOwnStation.h"
#include "feed/KissTcpClient.h"
#include "feed/ReplaySource.h"
#include "map/StationLog.h"

class HostCore;

// The tracker's ears: the links the command line asked for, feeding the host's
// station list and raising its events as stations come, move and go.
class RadioFeed final : public QObject {
    Q_OBJECT
public:
    RadioFeed(const feed::FeedOptions& options, HostCore& core, QObject* parent = nullptr);
    ~RadioFeed() override;
    Q_DISABLE_COPY_MOVE(RadioFeed)

    // Starts the links; false with `error` set when one cannot start.
    bool start(QString* error);
    void stop();

    // One line for the status bar: the state of every link.
    QString statusText() const;
    const FeedStations& stations() const { return m_stations; }
    feed::KissTcpClient* kiss() const { return m_kiss.get(); }
    feed::AprsIsClient* aprsIs() const { return m_aprsIs.get(); }
    GpsOwnStation* gps() const { return m_gps.get(); }
    feed::ReplaySource* replay() const { return m_replay.get(); }

signals:
    void statusChanged(const QString& text);

private:
    void onReport(const feed::PositionReport& report, HeardVia via);
    void onExpiryTick();
    // Keeps the default APRS-IS range filter round the moving own station.
    void followOwnStation(double latitude, double longitude);

    feed::FeedOptions m_options;
    HostCore& m_core;
    FeedStations m_stations;
    std::unique_ptr<feed::KissTcpClient> m_kiss;
    std::unique_ptr<feed::AprsIsClient> m_aprsIs;
    std::unique_ptr<GpsOwnStation> m_gps;
    // Where the range filter was last set round; none before the own position is known.
    std::optional<std::pair<double, double>> m_filterCentre;
    std::unique_ptr<feed::ReplaySource> m_replay;
    QTimer m_expiry;
    feed::Ax25Frame m_lastFrame;
};
