#include "HostWindow.h"

#include <memory>

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "HostCore.h"
#include "MapView.h"
#include "map/MapNavigation.h"
#include "map/StationDetailsWindow.h"
#include "map/StationListWindow.h"
#include "map/TileFetcher.h"

HostWindow::HostWindow(HostCore& core, QWidget* parent, const QString& baseMapPath)
    : QMainWindow(parent), m_core(core), m_map(new MapView(core, this)), m_beacon(new QLabel(this)),
      m_stations(new QLabel(this)), m_baseMapStatus(new QLabel(this)),
      m_stationList(new StationListWindow(core, this)),
      m_details(new StationDetailsWindow(core, this)) {
    setWindowTitle(QStringLiteral("Kestrel32 (stand-in tracker)"));
    setCentralWidget(m_map);
    m_beacon->setObjectName(QStringLiteral("beacon"));
    m_stations->setObjectName(QStringLiteral("stations"));
    m_baseMapStatus->setObjectName(QStringLiteral("baseMapStatus"));
    statusBar()->addWidget(m_beacon, 1);
    statusBar()->addPermanentWidget(m_baseMapStatus);
    statusBar()->addPermanentWidget(m_stations);

    BaseMapRead base = basemap::readFile(baseMapPath);
    if (base.map) {
        m_map->setBaseMap(std::make_shared<const BaseMap>(std::move(*base.map)));
        m_baseMapStatus->hide();
    } else {
        m_baseMapStatus->setText(QStringLiteral("No base map: %1").arg(base.error));
    }

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Delete all stations"), this,
                    [this] { m_core.deleteAllStations(); });
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* stations = view->addAction(QStringLiteral("Stations"), this, [this] {
        m_stationList->show();
        m_stationList->raise();
    });
    stations->setObjectName(QStringLiteral("actionStations"));
    view->addSeparator();
    QAction* centre = view->addAction(QStringLiteral("Centre on own station"), this,
                                      [this] { centreOn(m_core.store().ownCallsign()); });
    centre->setObjectName(QStringLiteral("actionCentreOnOwn"));
    centre->setShortcut(Qt::Key_Home);
    QAction* all = view->addAction(QStringLiteral("Show all stations"), this, [this] {
        navigation::showAll(m_core.scene(), m_core.store());
        m_map->update();
    });
    all->setObjectName(QStringLiteral("actionShowAll"));
    m_follow = view->addAction(QStringLiteral("Follow own station"));
    m_follow->setObjectName(QStringLiteral("actionFollow"));
    m_follow->setCheckable(true);
    connect(m_follow, &QAction::toggled, m_map, &MapView::setFollowing);
    connect(m_map, &MapView::followingChanged, m_follow, &QAction::setChecked);
    view->addSeparator();
    view->addAction(QStringLiteral("Zoom in (+)"), this, [this] {
        navigation::zoomCentre(m_core.scene(), navigation::zoomStep);
        m_map->update();
    });
    view->addAction(QStringLiteral("Zoom out (-)"), this, [this] {
        navigation::zoomCentre(m_core.scene(), 1.0 / navigation::zoomStep);
        m_map->update();
    });

    connect(m_stationList, &StationListWindow::centreRequested, this, &HostWindow::centreOn);
    connect(m_map, &MapView::stationClicked, m_details, &StationDetailsWindow::showStation);
    resize(800, 600);
    connect(&m_core, &HostCore::changed, this, &HostWindow::showBeacon);
    showBeacon();
}

HostWindow::~HostWindow() = default;

QString HostWindow::baseMapProblem() const {
    return m_baseMapStatus->isHidden() ? QString() : m_baseMapStatus->text();
}

void HostWindow::setTileSource(const QString& urlTemplate, const QString& attribution,
                               const QString& cacheFolder) {
    delete m_tiles;
    m_tiles = nullptr;
    if (!urlTemplate.isEmpty()) {
        m_tiles = new TileFetcher(cacheFolder, TileFetcher::defaultCacheBytes, this);
        m_tiles->setUrlTemplate(urlTemplate);
        // A failing source is said once a tile, in the status bar; the base map shows.
        connect(m_tiles, &TileFetcher::tileFailed, this,
                [this](const QString& why) { statusBar()->showMessage(why, 10000); });
    }
    m_map->setTiles(m_tiles, attribution);
}

void HostWindow::centreOn(const QString& callsign) {
    const HeardStation* station = m_core.store().find(callsign);
    if (!station)
        return;
    // Centring on another station is a pan: the view no longer follows the own one.
    if (callsign != m_core.store().ownCallsign())
        m_map->setFollowing(false);
    navigation::centreOn(m_core.scene(), station->lat, station->lon);
    m_map->update();
}

void HostWindow::showBeacon() {
    m_beacon->setText(
        m_core.beaconCallsign().isEmpty()
            ? QStringLiteral("No beacon")
            : QStringLiteral("Beacon %1: %2").arg(m_core.beaconCallsign(), m_core.beaconComment()));
    m_stations->setText(QStringLiteral("%1 stations").arg(m_core.store().count()));
}

void HostWindow::closeEvent(QCloseEvent* event) {
    // The program decides: it tells the add-ons first and then lets the window go (during
    // this very signal, when it shuts down at once).
    if (!m_closing)
        emit closeRequested();
    if (m_closing)
        event->accept();
    else
        event->ignore();
}
