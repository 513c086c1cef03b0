#include "ui/Motion.h"

#include <QPropertyAnimation>
#include <QWidget>

namespace kivaro::Motion {

QRect scaledAbout(const QRect& rect, double scale, int up) {
    QRectF scaled(QPointF(), QSizeF(rect.size()) * scale);
    scaled.moveCenter(QRectF(rect).center() - QPointF(0, up));
    return scaled.toRect();
}

void springIn(QWidget& widget, double scale, int up, int milliseconds, QObject* owner) {
    const QRect full = widget.geometry();
    auto* spring = new QPropertyAnimation(&widget, "geometry", owner);
    spring->setDuration(milliseconds);
    // An overshooting ease stands in for a spring with a little bounce.
    spring->setEasingCurve(QEasingCurve::OutBack);
    spring->setStartValue(scaledAbout(full, scale, up));
    spring->setEndValue(full);
    spring->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace kivaro::Motion
