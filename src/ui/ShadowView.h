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
    double radius_;
    int inset_;
    mutable QImage cache_;
};

} // namespace kivaro
