#pragma once

#include <QString>

// The map's scale bar: a round length, so that it can be read at a glance.
namespace scalebar {

// The longest length of 1, 2 or 5 times a power of ten that is not longer than `maxLength`;
// 0 when `maxLength` is not a positive finite number.
double roundLength(double maxLength);
// The bar's caption: "5 km", "0.2 mi", "2000 nm".
QString caption(double length, const QString& unit);

} // namespace scalebar
