#include "ui/WindowShape.h"

#include "ui/ShadowView.h"
#include "ui/TintView.h"

#include <QPainterPath>
#include <QWidget>

namespace kivaro {

QRegion WindowShape::rounded(const QRect& shape, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(shape), radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}

void WindowShape::fit(QWidget& window, ShadowView& shadow, SurfaceView& surface, bool composited) {
    shadow.setVisible(composited);
    surface.setCut(!composited);
    if (composited) {
        window.clearMask();
        return;
    }
    const QRect shape(surface.mapTo(&window, QPoint()), surface.size());
    window.setMask(rounded(shape, surface.radius()));
}

} // namespace kivaro
