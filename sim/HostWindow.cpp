#include "HostWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "HostCore.h"
#include "MapView.h"
#include "setup/StatusPart.h"

HostWindow::HostWindow(HostCore& core, QWidget* parent)
    : QMainWindow(parent), m_core(core), m_beacon(new QLabel(this)), m_stations(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Kestrel32 tracker"));
    setCentralWidget(new MapView(core, this));
    m_beacon->setObjectName(QStringLiteral("beacon"));
    m_stations->setObjectName(QStringLiteral("stations"));
    statusBar()->addPermanentWidget(m_beacon);
    statusBar()->addPermanentWidget(m_stations);
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Delete all stations"), this,
                    [this] { m_core.deleteAllStations(); });
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    QAction* preferences = settings->addAction(QStringLiteral("&Preferences..."), this,
                                               &HostWindow::preferencesRequested);
    preferences->setObjectName(QStringLiteral("actionPreferences"));
    preferences->setShortcut(QKeySequence::Preferences);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Kestrel32 tracker"), this, &HostWindow::showAbout)
        ->setObjectName(QStringLiteral("actionAbout"));
    resize(800, 600);
    connect(&m_core, &HostCore::changed, this, &HostWindow::showBeacon);
    showBeacon();
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
