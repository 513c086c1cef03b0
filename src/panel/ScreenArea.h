#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

namespace kivaro {

// One screen in desktop points with the origin at the bottom left of the primary screen,
// y growing upwards: the coordinates the panel and the toast are placed in. A QRectF's
// y() is then its lowest edge and y() + height() its highest.
struct ScreenArea {
    QRectF frame;
    // Without the menu bar and the Dock (or the desktop's panels).
    QRectF visible;

    bool operator==(const ScreenArea&) const = default;
};

inline double maxY(const QRectF& rect) {
    return rect.y() + rect.height();
}

inline double maxX(const QRectF& rect) {
    return rect.x() + rect.width();
}

// The first screen holding `point`, else the main (first) screen; nothing without screens.
std::optional<ScreenArea> screenAt(const QList<ScreenArea>& screens, const QPointF& point);

// A rectangle with the origin at the top left of a primary screen `primaryHeight` high,
// y growing downwards, flipped into bottom-left coordinates (and back: the flip is its own
// inverse).
QRectF flipped(const QRectF& rect, double primaryHeight);

} // namespace kivaro
