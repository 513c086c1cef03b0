#include "panel/ScreenArea.h"

namespace kivaro {

std::optional<ScreenArea> screenAt(const QList<ScreenArea>& screens, const QPointF& point) {
    for (const ScreenArea& screen : screens) {
        // Half-open edges, as a point on the border between two screens belongs to one.
        const QRectF& f = screen.frame;
        if (point.x() >= f.x() && point.x() < maxX(f) && point.y() >= f.y() && point.y() < maxY(f))
            return screen;
    }
    if (screens.isEmpty())
        return std::nullopt;
    return screens.constFirst();
}

QRectF flipped(const QRectF& rect, double primaryHeight) {
    return {rect.x(), primaryHeight - maxY(rect), rect.width(), rect.height()};
}

} // namespace kivaro
