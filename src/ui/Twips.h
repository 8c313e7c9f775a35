#pragma once

#include <algorithm>
#include <cmath>

#include <QRect>
#include <QtGlobal>

// Window geometry of the design is in twips: 1440 to the inch, so 15 to a pixel
// at 96 DPI. Positions scale with the screen's logical DPI.
constexpr double kTwipsPerInch = 1440.0;

// Held to what a window position can be: a hand-edited settings file may hold any number.
inline int twipsToPixels(double twips, double logicalDpi) {
    const double pixels = twips * logicalDpi / kTwipsPerInch;
    if (std::isnan(pixels))
        return 0;
    return qRound(std::clamp(pixels, -1.0e6, 1.0e6));
}

inline double pixelsToTwips(double pixels, double logicalDpi) {
    return pixels * kTwipsPerInch / logicalDpi;
}

inline QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
    return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
                 twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi));
}
