#include "HostWindow.h"

#include <memory>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "HostCore.h"
#include "MapView.h"
#include "map/MapNavigation.h"
#include "map/StationDetailsWindow.h"
#include "map/StationListWindow.h"
#include "map/TileFetcher.h"
#include "setup/StatusPart.h"

HostWindow::HostWindow(HostCore& core, QWidget* parent, const QString& baseMapPath)
    : QMainWindow(parent), m_core(core), m_map(new MapView(core, this)), m_beacon(new QLabel(this)),
      m_stations(new QLabel(this)), m_baseMapStatus(new QLabel(this)),
      m_stationList(new StationListWindow(core, this)),
      m_details(new StationDetailsWindow(core, this)) {
    setWindowTitle(QStringLiteral("Kestrel32 tracker"));
    setCentralWidget(m_map);
    m_beacon->setObjectName(QStringLiteral("beacon"));
    m_stations->setObjectName(QStringLiteral("stations"));
    m_baseMapStatus->setObjectName(QStringLiteral("baseMapStatus"));
    statusBar()->addPermanentWidget(m_beacon);
    statusBar()->addPermanentWidget(m_baseMapStatus);
    statusBar()->addPermanentWidget(m_stations);

    BaseMapRead base = basemap::readFile(baseMapPath);
    if (base.map) {
        m_map->setBaseMap(std::make_shared<const BaseMap>(std::move(*base.map)));
        m_baseMapStatus->hide();
    } else {
        m_baseMapStatus->setText(QStringLiteral("No base map: %1").arg(base.error));
        // One line that gives way to the links' parts in a narrow window; all of it on hover.
        m_baseMapStatus->setToolTip(m_baseMapStatus->text());
        m_baseMapStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_baseMapStatus->setMinimumWidth(80);
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

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    QAction* preferences = settings->addAction(QStringLiteral("&Preferences..."), this,
                                               &HostWindow::preferencesRequested);
    preferences->setObjectName(QStringLiteral("actionPreferences"));
    preferences->setShortcut(QKeySequence::Preferences);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Kestrel32 tracker"), this, &HostWindow::showAbout)
        ->setObjectName(QStringLiteral("actionAbout"));

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

void HostWindow::setStatusParts(const QStringList& parts) {
    while (m_parts.size() < parts.size()) {
        auto* part = new StatusPart(QStringLiteral("status%1").arg(m_parts.size()), this);
        connect(part, &StatusPart::clicked, this, &HostWindow::preferencesRequested);
        statusBar()->addWidget(part, 1);
        m_parts << part;
    }
    for (qsizetype i = 0; i < m_parts.size(); ++i)
        m_parts[i]->setFullText(i < parts.size() ? parts[i] : QString());
}

void HostWindow::showAbout() {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("About Kestrel32 tracker"),
                                QStringLiteral("Kestrel32 tracker %1\n\nMaps the radio stations "
                                               "heard through APRS-IS or a KISS TNC and serves "
                                               "them to add-ons such as Ringwarden.")
                                    .arg(QCoreApplication::applicationVersion()),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
