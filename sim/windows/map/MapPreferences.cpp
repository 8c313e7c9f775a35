#include "MapPreferences.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

MapPreferences::MapPreferences(const TrackerMapSettings& settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Map"), parent), m_tileUrl(new QLineEdit(settings.tileUrl, this)),
      m_tileUrlProblem(new QLabel(this)),
      m_attribution(new QLineEdit(settings.tileAttribution, this)),
      m_trailMinutes(new QSpinBox(this)), m_trailPoints(new QSpinBox(this)) {
    setObjectName(QStringLiteral("mapPreferences"));
    m_tileUrl->setObjectName(QStringLiteral("tileUrl"));
    m_tileUrl->setPlaceholderText(QStringLiteral("none: the base map alone"));
    m_tileUrl->setToolTip(QStringLiteral("An XYZ tile server's address, for example "
                                         "https://tiles.example.org/{z}/{x}/{y}.png"));
    m_tileUrlProblem->setObjectName(QStringLiteral("tileUrlProblem"));
    m_tileUrlProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_tileUrlProblem->hide();
    m_attribution->setObjectName(QStringLiteral("tileAttribution"));
    m_trailMinutes->setObjectName(QStringLiteral("trailMinutes"));
    m_trailMinutes->setRange(1, 24 * 60);
    m_trailMinutes->setSuffix(QStringLiteral(" min"));
    m_trailMinutes->setValue(settings.trailMinutes);
    m_trailPoints->setObjectName(QStringLiteral("trailPoints"));
    m_trailPoints->setRange(2, 1000);
    m_trailPoints->setSuffix(QStringLiteral(" points"));
    m_trailPoints->setValue(settings.trailPoints);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Tile source:"), m_tileUrl);
    form->addRow(QString(), m_tileUrlProblem);
    form->addRow(QStringLiteral("Attribution:"), m_attribution);
    form->addRow(QStringLiteral("Trails, at most:"), m_trailMinutes);
    form->addRow(QString(), m_trailPoints);
}

std::optional<TrackerMapSettings> MapPreferences::checked() {
    TrackerMapSettings settings;
    settings.tileUrl = m_tileUrl->text().trimmed();
    settings.tileAttribution = m_attribution->text().trimmed();
    settings.trailMinutes = m_trailMinutes->value();
    settings.trailPoints = m_trailPoints->value();
    const QString problem = tileTemplateProblem(settings.tileUrl);
    m_tileUrlProblem->setText(problem);
    m_tileUrlProblem->setVisible(!problem.isEmpty());
    if (!problem.isEmpty()) {
        m_tileUrl->setFocus();
        return std::nullopt;
    }
    return settings;
}
