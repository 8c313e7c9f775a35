#pragma once

#include <QString>

// The host's station object: the caller sets Callsign, GetStation fills the rest.
// Positions are minutes of arc, north and east positive; Distance is in the host's unit.
struct KestrelStation {
    QString Callsign;
    float Longitude = 0.0f;
    float Latitude = 0.0f;
    float Distance = 0.0f;
};

// The beacon object handed to the host once at start-up.
struct KestrelBeacon {
    QString Callsign;
    QString Comment;
};
