#pragma once

#include <QtGlobal>

struct AlarmContext;

// One pass over the host's station list: rebuilds lstStations with the unacknowledged
// stations within the radius, marks in-range stations on the map (red, or green when
// acknowledged), sets dblMinDist and lblMinDist. Returns the number of lines, or 0 when an
// error cut the pass short (what was added stays; the caption is left alone).
qint16 scan_stations(AlarmContext& ctx);

// Adds the watched, unacknowledged stations the host knows to lstStations at any distance,
// lowering dblMinDist; no map marks. Returns the line count (all lines), or 0 after an error.
qint16 scan_watchlist(AlarmContext& ctx);
