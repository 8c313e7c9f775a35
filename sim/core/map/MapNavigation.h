#pragma once

#include <QString>

class MapScene;
class StationStore;

// The operator's ways round the map, on the scene alone so that they are testable without
// a window: key steps, centring, framing, following the own station, and the view kept for
// the next start.
namespace navigation {

// One press of + or -.
inline constexpr double zoomStep = 1.25;
// One press of an arrow moves the view by this part of its width or height.
inline constexpr double panStep = 0.125;

// Zooms round the middle of the view.
void zoomCentre(MapScene& scene, double factor);
// An arrow key: dx, dy of -1, 0 or 1 (1 right, 1 down) in steps of panStep.
void panStepwise(MapScene& scene, int dx, int dy);
// Puts a position (decimal degrees) in the middle of the view.
void centreOn(MapScene& scene, double lat, double lon);
// Frames every station of the list, the own one included.
void showAll(MapScene& scene, const StationStore& store);

// Whether a position lies in the middle half of the view (half its width and height).
bool inMiddleHalf(const MapScene& scene, double lat, double lon);
// Following: re-centres on the position when it has left the middle half. True when the
// view moved.
bool keepInMiddleHalf(MapScene& scene, double lat, double lon);

// The view in kestrel32.conf (section [map], the rest of the file left as it was), and back;
// false when it cannot be written, or (the scene untouched) when the file holds none or an
// unusable one.
bool saveView(const QString& path, const MapScene& scene);
bool loadView(const QString& path, MapScene& scene);

} // namespace navigation
