#pragma once

#include <QBuffer>
#include <QImage>

#include "HostCore.h"
#include "MapScene.h"
#include "Scenario.h"
#include "TestHttpServer.h"
#include "TileMath.h"

// A scenario with nothing but the own station, at a place in degrees.
inline Scenario ownAt(double lat, double lon) {
    Scenario s;
    s.ownCallsign = QStringLiteral("N0CALL");
    s.ownLat = lat;
    s.ownLon = lon;
    return s;
}

// A station heard as a feed hears it: into the list, then told to the window.
inline void hear(HostCore& core, const QString& callsign, double lat, double lon,
                 HeardVia via = HeardVia::Rf, const QString& comment = {}) {
    core.store().upsert(callsign, lat, lon, comment);
    TrackerChanges changes;
    changes.heard << callsign;
    core.publish(changes, via);
}

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

// A tile server's answer: a PNG of one colour, to be kept for a day.
inline TestHttpServer::Answer tileAnswer(const QColor& colour) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(colour);
    TestHttpServer::Answer answer;
    answer.headers = {{"Content-Type", "image/png"}, {"Cache-Control", "max-age=86400"}};
    QBuffer buffer(&answer.body);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return answer;
}
