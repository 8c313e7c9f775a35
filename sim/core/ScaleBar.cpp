#include "ScaleBar.h"

#include <cmath>

namespace scalebar {

double roundLength(double maxLength) {
    if (!std::isfinite(maxLength) || !(maxLength > 0.0))
        return 0.0;
    const double power = std::pow(10.0, std::floor(std::log10(maxLength)));
    // Rounding in log10 can land a step low or high: the tolerance keeps 1000 at 1000.
    for (const double step : {10.0, 5.0, 2.0, 1.0})
        if (step * power <= maxLength * (1.0 + 1e-9))
            return step * power;
    return 0.5 * power;
}

QString caption(double length, const QString& unit) {
    return QStringLiteral("%1 %2").arg(QString::number(length, 'g', 12), unit);
}

} // namespace scalebar
