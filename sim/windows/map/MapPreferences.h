#pragma once

#include <optional>

#include <QGroupBox>

#include "TrackerSettings.h"

class QLabel;
class QLineEdit;
class QSpinBox;

// The map's part of Settings > Preferences: the tile source (URL template, attribution) and
// the trails' length, each problem beside its field.
class MapPreferences final : public QGroupBox {
    Q_OBJECT
public:
    explicit MapPreferences(const TrackerMapSettings& settings, QWidget* parent = nullptr);

    // The values, or none (the problem shown beside its field) when one cannot be used.
    std::optional<TrackerMapSettings> checked();

private:
    QLineEdit* m_tileUrl;
    QLabel* m_tileUrlProblem;
    QLineEdit* m_attribution;
    QSpinBox* m_trailMinutes;
    QSpinBox* m_trailPoints;
};
