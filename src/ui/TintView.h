#pragma once

#include <QWidget>

namespace kivaro {

// The window colour laid over the translucent surface at alpha `strength`: the panel's
// opacity setting. It draws nothing else and lets the mouse through.
class TintView : public QWidget {
    Q_OBJECT

public:
    explicit TintView(double radius, QWidget* parent = nullptr);

    double strength() const { return strength_; }
    void setStrength(double strength);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_;
    double strength_ = 0;
};

// The panel's or the bubble's translucent surface: the platform's vibrancy has no Qt
// counterpart, so it is the window colour at a fixed alpha over whatever lies behind
// (solid when transparency is reduced), in a rounded shape.
class SurfaceView : public QWidget {
    Q_OBJECT

public:
    static constexpr double translucentAlpha = 0.72;

    explicit SurfaceView(double radius, QWidget* parent = nullptr);

    void setSolid(bool solid);
    bool isSolid() const { return solid_; }
    // A window cut to this view's rounded shape fills its whole rectangle, opaque, and leaves
    // the rounding to the cut: clear pixels at the curved edge would show black where
    // nothing blends them (WindowShape).
    void setCut(bool cut);
    bool isCut() const { return cut_; }
    double radius() const { return radius_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_;
    bool solid_ = false;
    bool cut_ = false;
};

// A plain colour fill in the rounded shape; the mode wash uses it.
class FillView : public QWidget {
    Q_OBJECT

public:
    explicit FillView(double radius, QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_;
    QColor color_ = Qt::transparent;
};

} // namespace kivaro
