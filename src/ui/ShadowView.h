#pragma once

#include <QImage>
#include <QWidget>

namespace kivaro {

// The soft shadow around a rounded shape, drawn only outside that shape so that it never
// shows through a translucent surface. It lets the mouse through. Qt cannot paint outside a
// widget, so the view covers the whole transparent margin around the shape: the shape is the
// view's rectangle less `inset` on every side.
class ShadowView : public QWidget {
    Q_OBJECT

public:
    static constexpr double opacity = 0.22;
    static constexpr int blur = 24;
    // Downwards on screen.
    static constexpr int offset = 10;

    ShadowView(double radius, int inset, QWidget* parent = nullptr);

    double radius() const { return radius_; }
    QRect shape() const;

    // The shadow as painted, the size of the view, the shape cut out.
    QImage shadowImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The shadow of a view of `size`, drawn in full.
    QImage drawn(const QSize& size) const;
    // Rows this far from the top or the bottom differ; all rows between them are the same.
    int edgeRows() const;

    double radius_;
    int inset_;
    mutable QImage cache_;
    // A view of the same width but only as tall as its edges and one middle row: a taller
    // view's shadow is its top and bottom edges with the middle row repeated between.
    mutable QImage edges_;
};

} // namespace kivaro
