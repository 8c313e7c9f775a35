#pragma once

#include <optional>

#include <QString>

// Great-circle distance in km between two positions in minutes of arc (latitude first).
double calcDist(float sngLat1, float sngLong1, float sngLat2, float sngLong2);

// Arc cosine in radians; arguments outside [-1, 1] are clamped.
double Acos(double X);

// The signed angle in minutes of arc of a position field (5212.34N, 00455.12E). Empty when
// the field cannot be taken apart: no ".", degrees or minutes not a number, or
// degrees * 60 + minutes outside the 16-bit range.
std::optional<float> MakeLatLong(const QString& strL);
