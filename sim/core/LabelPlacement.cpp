#include "LabelPlacement.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Cells of this many pixels; a cell touched by a label counts as taken, so kept labels
// stand at least a hair apart and never on each other.
constexpr double cellPixels = 4.0;
// How far a label stands off its point.
constexpr double offset = labelPointRadius + 2.0;

constexpr qint32 freeCell = -1;
constexpr qint32 labelCell = -2;
constexpr qint32 crowdedCell = -3; // points of more than one station

class Occupancy {
public:
    explicit Occupancy(QSizeF view)
        : m_columns(std::max(1, int(std::ceil(view.width() / cellPixels)))),
          m_rows(std::max(1, int(std::ceil(view.height() / cellPixels)))),
          m_cells(size_t(m_columns) * size_t(m_rows), freeCell) {}

    void markPoint(const QPointF& at, qint32 owner) {
        forCells(pointBox(at), [&](qint32& cell) {
            if (cell == freeCell)
                cell = owner;
            else if (cell != owner && cell != labelCell)
                cell = crowdedCell;
            return true;
        });
    }
    void markLabel(const QRectF& box) {
        forCells(box, [](qint32& cell) {
            cell = labelCell;
            return true;
        });
    }
    // Free for `owner`'s label: no label there, and no point but its own (points are
    // ignored when `overPoints`).
    bool fits(const QRectF& box, qint32 owner, bool overPoints) {
        bool free = true;
        forCells(box, [&](qint32& cell) {
            free = cell == freeCell || cell == owner || (overPoints && cell != labelCell);
            return free;
        });
        return free;
    }

private:
    static QRectF pointBox(const QPointF& at) {
        return {at.x() - labelPointRadius, at.y() - labelPointRadius, 2 * labelPointRadius,
                2 * labelPointRadius};
    }
    // Calls `visit` for each cell `box` touches, clipped to the grid, until it says stop.
    template <typename Visit> void forCells(const QRectF& box, Visit visit) {
        const int c0 = std::max(0, int(std::floor(box.left() / cellPixels)));
        const int r0 = std::max(0, int(std::floor(box.top() / cellPixels)));
        const int c1 = std::min(m_columns - 1, int(std::ceil(box.right() / cellPixels)) - 1);
        const int r1 = std::min(m_rows - 1, int(std::ceil(box.bottom() / cellPixels)) - 1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                if (!visit(m_cells[size_t(r) * size_t(m_columns) + size_t(c)]))
                    return;
    }

    int m_columns;
    int m_rows;
    std::vector<qint32> m_cells;
};

std::array<QRectF, 8> candidates(const LabelRequest& label) {
    const double x = label.anchor.x();
    const double y = label.anchor.y();
    const double w = label.size.width();
    const double h = label.size.height();
    const double diagonal = offset * 0.7;
    const auto at = [&](double left, double top) { return QRectF(left, top, w, h); };
    return {at(x + diagonal, y - diagonal - h),
            at(x + diagonal, y + diagonal),
            at(x - diagonal - w, y - diagonal - h),
            at(x - diagonal - w, y + diagonal),
            at(x + offset, y - h / 2),
            at(x - offset - w, y - h / 2),
            at(x - w / 2, y - offset - h),
            at(x - w / 2, y + offset)};
}

} // namespace

std::vector<std::optional<QRectF>> placeLabels(const std::vector<LabelRequest>& requests,
                                               QSizeF view) {
    std::vector<std::optional<QRectF>> placed(requests.size());
    Occupancy grid(view);
    const QRectF inside(QPointF(0, 0), view);
    for (size_t i = 0; i < requests.size(); ++i)
        if (inside.contains(requests[i].anchor))
            grid.markPoint(requests[i].anchor, qint32(i));

    const auto place = [&](size_t i, bool overPoints) {
        for (const QRectF& box : candidates(requests[i])) {
            if (inside.contains(box) && grid.fits(box, qint32(i), overPoints)) {
                grid.markLabel(box);
                placed[i] = box;
                return true;
            }
        }
        return false;
    };
    for (size_t i = 0; i < requests.size(); ++i)
        if (requests[i].priority && !place(i, false))
            place(i, true);
    for (size_t i = 0; i < requests.size(); ++i)
        if (!requests[i].priority)
            place(i, false);
    return placed;
}
