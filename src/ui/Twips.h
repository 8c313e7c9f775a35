#pragma once

#include <QRect>
#include <QtGlobal>

// Window geometry of the original design is in twips: 1440 to the inch, so 15 to a pixel
// at 96 DPI. Positions scale with the screen's logical DPI.
constexpr double kTwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double logicalDpi) {
    return qRound(twips * logicalDpi / kTwipsPerInch);
}

inline double pixelsToTwips(double pixels, double logicalDpi) {
    return pixels * kTwipsPerInch / logicalDpi;
}

inline QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
    return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
                 twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi));
}
