#pragma once

#include <QMainWindow>

#include "map/BaseMapFile.h"

class HostCore;
class MapView;
class QAction;
class QLabel;
class StatusPart;
class StationDetailsWindow;
class StationListWindow;
class TileFetcher;

// The tracker's window: the map, the View menu (station list, centring, framing, following)
// and a status bar with the links in words, the beacon an add-on handed over and the state of
// the base map. Closing it asks the program to close (through closeRequested) instead of just
// hiding.
class HostWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(HostCore& core, QWidget* parent = nullptr,
                        const QString& baseMapPath = basemap::installedPath());
    ~HostWindow() override;

    // Lets the next close go through (the program is shutting down).
    void allowClose() { m_closing = true; }
    // The status bar's parts in words; each opens the preferences when clicked.
    void setStatusParts(const QStringList& parts);
    MapView* map() const { return m_map; }
    StationListWindow* stationList() const { return m_stationList; }
    StationDetailsWindow* stationDetails() const { return m_details; }
    // What the status bar says of the base map: empty when it loaded.
    QString baseMapProblem() const;
    // Raster tiles from the template (empty: none), cached in `cacheFolder`.
    void setTileSource(const QString& urlTemplate, const QString& attribution,
                       const QString& cacheFolder);
    TileFetcher* tiles() const { return m_tiles; }

signals:
    void closeRequested();
    void preferencesRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBeacon();
    void showAbout();
    void centreOn(const QString& callsign);

    HostCore& m_core;
    MapView* m_map;
    QLabel* m_beacon;
    QLabel* m_stations;
    QLabel* m_baseMapStatus;
    QList<StatusPart*> m_parts;
    StationListWindow* m_stationList;
    StationDetailsWindow* m_details;
    QAction* m_follow;
    TileFetcher* m_tiles = nullptr;
    bool m_closing = false;
};
