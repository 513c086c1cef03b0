#include "ui/Motion.h"

#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

namespace kivaro {

namespace {

// Room around the widget for a spring's overshoot and a lift.
constexpr double overshootRoom = 0.25;

QPropertyAnimation* animate(Transform& transform, const char* property, double from, double to,
                            int milliseconds, QObject* owner) {
    auto* animation = new QPropertyAnimation(&transform, property, owner);
    animation->setDuration(milliseconds);
    animation->setStartValue(from);
    animation->setEndValue(to);
    return animation;
}

} // namespace

Transform::Transform(QObject* parent) : QGraphicsEffect(parent) {}

void Transform::setScale(double scale) {
    scale_ = scale;
    update();
}

void Transform::setLift(double lift) {
    lift_ = lift;
    update();
}

void Transform::setOpacity(double opacity) {
    opacity_ = opacity;
    update();
}

void Transform::reset() {
    scale_ = 1;
    lift_ = 0;
    opacity_ = 1;
    update();
}

QRectF Transform::boundingRectFor(const QRectF& rect) const {
    const double dx = rect.width() * overshootRoom;
    const double dy = rect.height() * overshootRoom + std::abs(lift_);
    return rect.adjusted(-dx, -dy, dx, dy);
}

void Transform::draw(QPainter* painter) {
    if (opacity_ <= 0)
        return;
    if (scale_ == 1 && lift_ == 0 && opacity_ >= 1) {
        drawSource(painter);
        return;
    }
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset);
    const QPointF centre = sourceBoundingRect(Qt::LogicalCoordinates).center();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * opacity_);
    painter->translate(centre.x(), centre.y() - lift_);
    painter->scale(scale_, scale_);
    painter->translate(-centre);
    painter->drawPixmap(offset, source);
    painter->restore();
}

Transform& Motion::transformOf(QWidget& widget) {
    if (auto* transform = qobject_cast<Transform*>(widget.graphicsEffect()))
        return *transform;
    auto* transform = new Transform(&widget);
    widget.setGraphicsEffect(transform);
    return *transform;
}

QAbstractAnimation* Motion::springIn(QWidget& widget, double scale, double up, int milliseconds,
                                     QObject* owner) {
    Transform& transform = transformOf(widget);
    auto* group = new QParallelAnimationGroup(owner);
    struct Part {
        const char* property;
        double from;
        double to;
    };
    for (const Part& part : {Part{"scale", scale, 1}, Part{"lift", up, 0}}) {
        QPropertyAnimation* animation =
            animate(transform, part.property, part.from, part.to, milliseconds, group);
        // An overshooting ease stands in for a spring with a little bounce.
        animation->setEasingCurve(QEasingCurve::OutBack);
        group->addAnimation(animation);
    }
    group->start(QAbstractAnimation::DeleteWhenStopped);
    return group;
}

QAbstractAnimation* Motion::fadeIn(QWidget& widget, int milliseconds, QObject* owner) {
    QPropertyAnimation* fade = animate(transformOf(widget), "opacity", 0, 1, milliseconds, owner);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    return fade;
}

} // namespace kivaro
