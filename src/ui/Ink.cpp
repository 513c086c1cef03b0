#include "ui/Ink.h"

#include "panel/Colors.h"
#include "ui/PanelPalette.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace kivaro {

QFont Fonts::system(int points, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(points);
    font.setWeight(weight);
    return font;
}

void fillRounded(QPainter& painter, const QRectF& rect, double radius, const QColor& color) {
    if (color.alpha() == 0)
        return;
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, color);
    painter.restore();
}

QColor Ink::resolve(const QPalette& palette) const {
    switch (role) {
    case Role::label:
        return Colors::withAlpha(palette.color(QPalette::WindowText), alpha);
    case Role::secondary:
        return PanelPalette::secondaryLabel(palette);
    case Role::red:
        return PanelPalette::systemRed(palette);
    case Role::fixed:
        break;
    }
    return Colors::withAlpha(color, color.alphaF() * alpha);
}

} // namespace kivaro
