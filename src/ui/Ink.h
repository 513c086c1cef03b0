#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>

class QPainter;

namespace kivaro {

// The panel's type: the desktop's own interface font (DejaVu Sans, Cantarell or Noto Sans,
// whatever the desktop sets) at the sizes the Mac gives in points, here pixels, so a row
// keeps its proportions on every desktop.
namespace Fonts {

QFont system(int points, QFont::Weight weight = QFont::Normal);

} // namespace Fonts

// A text or symbol colour named by its role, resolved against the palette each time it is
// drawn, so a change of theme needs no restyling.
struct Ink {
    enum class Role { label, secondary, red, fixed };

    Role role = Role::label;
    // For `fixed`.
    QColor color;
    double alpha = 1;

    static Ink label(double alpha = 1) { return {Role::label, {}, alpha}; }
    static Ink secondary() { return {Role::secondary, {}, 1}; }
    static Ink red() { return {Role::red, {}, 1}; }
    static Ink fixed(const QColor& color, double alpha = 1) { return {Role::fixed, color, alpha}; }

    QColor resolve(const QPalette& palette) const;
};

// Fills a rounded rectangle, antialiased; nothing for a clear colour.
void fillRounded(QPainter& painter, const QRectF& rect, double radius, const QColor& color);

} // namespace kivaro
