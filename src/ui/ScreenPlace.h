#pragma once

#include <algorithm>

#include <QPoint>
#include <QRect>

// Where a window of `window`'s size goes so that it lies inside `available` (the screen less
// its panels): moved in as little as it takes; a window larger than the screen keeps its
// top-left corner (and so its title bar and menus) on the screen.
inline QPoint keptInside(const QRect& window, const QRect& available) {
    const auto axis = [](int at, int size, int low, int room) {
        return std::max(low, std::min(at, low + room - size));
    };
    return {axis(window.left(), window.width(), available.left(), available.width()),
            axis(window.top(), window.height(), available.top(), available.height())};
}
