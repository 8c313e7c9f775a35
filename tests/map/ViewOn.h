#pragma once

#include "MapScene.h"

// A view as the tracker's map makes it: centred on a position in degrees, scale in minutes a
// pixel, the projection fitted to the centre's latitude.
inline MapScene viewOn(double lat, double lon, double minutesPerPixel, int width = 400,
                       int height = 300) {
    MapScene scene;
    scene.pixelWidth = width;
    scene.pixelHeight = height;
    scene.fit(lon * 60.0, lat * 60.0, lon * 60.0, lat * 60.0);
    scene.unitsPerPixel = minutesPerPixel;
    return scene;
}
