#include "panel/Placement.h"

#include <algorithm>

namespace kivaro::Placement {

QRectF anchor(const std::optional<QRectF>& front, const QRectF& visible) {
    if (!front)
        return visible;
    const QRectF covered = front->intersected(visible);
    return covered.isEmpty() ? visible : covered;
}

double keepInside(double x, double width, double border, double minX, double maxX) {
    return std::max(std::min(x, maxX - width - border), minX - border);
}

std::optional<Frame> panel(const std::optional<QRectF>& front, const QPointF& mouse,
                           const QList<ScreenArea>& screens, const QSizeF& size) {
    const std::optional<ScreenArea> screen = screenAt(screens, front ? front->center() : mouse);
    if (!screen)
        return std::nullopt;
    const QRectF& vf = screen->visible;
    const QRectF area = anchor(front, vf);
    const double floor = vf.y() + floorHeight;
    const double drop = std::min(area.height() * dropShare, maximumDrop);
    const double highest = std::min(maxY(vf), maxY(area) - drop);
    const double top = std::max(highest, floor) + margin;
    const double x = keepInside(area.center().x() - panelWidth / 2 - margin, panelWidth, margin,
                                vf.x(), maxX(vf));
    return Frame{QRectF(x, top - size.height(), size.width(), size.height()), top};
}

} // namespace kivaro::Placement
