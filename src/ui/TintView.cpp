#include "ui/TintView.h"

#include "panel/Colors.h"
#include "ui/Ink.h"

#include <QPainter>

#include <algorithm>

namespace kivaro {

namespace {

void fillRounded(QWidget& widget, double radius, const QColor& color) {
    QPainter painter(&widget);
    kivaro::fillRounded(painter, QRectF(widget.rect()), radius, color);
}

void passMouseThrough(QWidget& widget) {
    widget.setAttribute(Qt::WA_TransparentForMouseEvents);
}

} // namespace

TintView::TintView(double radius, QWidget* parent) : QWidget(parent), radius_(radius) {
    passMouseThrough(*this);
}

void TintView::setStrength(double strength) {
    strength_ = std::clamp(strength, 0.0, 1.0);
    update();
}

void TintView::paintEvent(QPaintEvent*) {
    fillRounded(*this, radius_, Colors::withAlpha(palette().color(QPalette::Window), strength_));
}

SurfaceView::SurfaceView(double radius, QWidget* parent) : QWidget(parent), radius_(radius) {
    passMouseThrough(*this);
}

void SurfaceView::setSolid(bool solid) {
    solid_ = solid;
    update();
}

void SurfaceView::setCut(bool cut) {
    if (cut == cut_)
        return;
    cut_ = cut;
    update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    const QColor window = palette().color(QPalette::Window);
    if (cut_) {
        QPainter(this).fillRect(rect(), window);
        return;
    }
    fillRounded(*this, radius_, Colors::withAlpha(window, solid_ ? 1 : translucentAlpha));
}

FillView::FillView(double radius, QWidget* parent) : QWidget(parent), radius_(radius) {
    passMouseThrough(*this);
}

void FillView::setColor(const QColor& color) {
    color_ = color;
    update();
}

void FillView::paintEvent(QPaintEvent*) {
    fillRounded(*this, radius_, color_);
}

} // namespace kivaro
