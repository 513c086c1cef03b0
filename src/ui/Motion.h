#pragma once

#include <QGraphicsEffect>

class QAbstractAnimation;
class QWidget;

namespace kivaro {

// A widget's transform and opacity, the way a layer's animate on the Mac: the widget is drawn
// scaled about its centre, lifted and faded, while its geometry (and so its layout) stays.
class Transform : public QGraphicsEffect {
    Q_OBJECT
    Q_PROPERTY(double scale READ scale WRITE setScale)
    Q_PROPERTY(double lift READ lift WRITE setLift)
    Q_PROPERTY(double opacity READ opacity WRITE setOpacity)

public:
    explicit Transform(QObject* parent = nullptr);

    double scale() const { return scale_; }
    void setScale(double scale);
    // Points upwards.
    double lift() const { return lift_; }
    void setLift(double lift);
    double opacity() const { return opacity_; }
    void setOpacity(double opacity);
    void reset();

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    double scale_ = 1;
    double lift_ = 0;
    double opacity_ = 1;
};

// The small animations of the panel and the toast. Each belongs to `owner` and deletes
// itself when it ends.
namespace Motion {

// The widget's transform, made on first use.
Transform& transformOf(QWidget& widget);

// Springs the widget from `scale` of its size (and `up` points higher) back to rest.
QAbstractAnimation* springIn(QWidget& widget, double scale, double up, int milliseconds,
                             QObject* owner);

// Fades the widget in from transparent.
QAbstractAnimation* fadeIn(QWidget& widget, int milliseconds, QObject* owner);

} // namespace Motion

} // namespace kivaro
