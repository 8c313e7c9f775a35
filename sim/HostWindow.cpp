#include "HostWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "HostCore.h"
#include "MapView.h"

HostWindow::HostWindow(HostCore& core, QWidget* parent)
    : QMainWindow(parent), m_core(core), m_beacon(new QLabel(this)), m_stations(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Kestrel32 (stand-in tracker)"));
    setCentralWidget(new MapView(core, this));
    m_beacon->setObjectName(QStringLiteral("beacon"));
    m_stations->setObjectName(QStringLiteral("stations"));
    statusBar()->addWidget(m_beacon, 1);
    statusBar()->addPermanentWidget(m_stations);
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Delete all stations"), this,
                    [this] { m_core.deleteAllStations(); });
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    resize(800, 600);
    connect(&m_core, &HostCore::changed, this, &HostWindow::showBeacon);
    showBeacon();
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
