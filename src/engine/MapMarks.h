#pragma once

#include <stdexcept>

#include <QString>
#include <QtGlobal>

class KestrelMap;

// A mark that cannot be drawn: a map without height in pixels, a radius beyond a float.
class MapMarkError final : public std::runtime_error {
public:
    explicit MapMarkError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

inline constexpr qint32 kColourRed = 255;
inline constexpr qint32 kColourGreen = 65280;
inline constexpr qint32 kColourCyan = 16776960;
inline constexpr double kFullTurn = 6.283186;

// Why the map gives no station ring (see stationRingRadius).
MapMarkError noRingError(qint16 pixelHeight);

// A ring of 8 pixels round a station: red (255) for an alarm, green (65280) when acknowledged.
void MarkStation(KestrelMap& map, float x, float y, qint32 colour);
// The ring at 90 % of the alarm radius round the own station.
void DrawRangeCircle(KestrelMap& map, float x, float y, double range);
// One green arc of the sweep round the own station.
void DrawRangeArc(KestrelMap& map, float x, float y, double range, float startAngle,
                  double endAngle);
