#include "StationDetailsWindow.h"

#include <QFormLayout>
#include <QLabel>

#include "HostCore.h"
#include "StationDetails.h"

StationDetailsWindow::StationDetailsWindow(HostCore& core, QWidget* parent)
    : QWidget(parent, Qt::Window), m_core(core), m_form(new QFormLayout(this)) {
    setObjectName(QStringLiteral("stationDetails"));
    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &StationDetailsWindow::refresh);
    resize(420, 360);
}

void StationDetailsWindow::showStation(const QString& callsign) {
    m_callsign = callsign;
    setWindowTitle(QStringLiteral("Station %1").arg(details::escapeControls(callsign)));
    show();
    raise();
    refresh();
    m_refresh.start();
}

void StationDetailsWindow::refresh() {
    if (!isVisible()) {
        m_refresh.stop();
        return;
    }
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    const auto fields = details::describe(m_core.store(), m_core.log(), m_callsign, m_core.nowMs());
    if (fields.empty()) {
        m_form->addRow(new QLabel(QStringLiteral("%1 is no longer in the list.")
                                      .arg(details::escapeControls(m_callsign))));
        return;
    }
    for (const details::Field& f : fields) {
        auto* value = new QLabel(f.value);
        value->setObjectName(f.label);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        m_form->addRow(f.label + QLatin1Char(':'), value);
    }
}

QString StationDetailsWindow::field(const QString& label) const {
    const auto* value = findChild<QLabel*>(label);
    return value ? value->text() : QString();
}
