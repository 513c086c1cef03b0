#pragma once

#include "panel/ScreenArea.h"

#include <QList>
#include <QSizeF>

#include <optional>

namespace kivaro {

// Where the panel window goes: over the browser's front window, a little below its top,
// inside the visible part of the screen. All in bottom-left desktop coordinates.
namespace Placement {

// Transparent border around the visible panel, room for its shadow.
inline constexpr double margin = 48;
inline constexpr double panelWidth = 680;
// Room for the field, four rows and the footer above the bottom of the visible frame.
inline constexpr double floorHeight = 60 + 184 + 38 - margin;
inline constexpr double maximumDrop = 140;
inline constexpr double dropShare = 0.16;

struct Frame {
    QRectF window;
    // The window's top edge, which resizing keeps fixed.
    double top = 0;

    bool operator==(const Frame&) const = default;
};

// The window frame for a window of `size` over `front` (or, without a front window, on the
// screen under `mouse`); nothing when there is no screen at all.
std::optional<Frame> panel(const std::optional<QRectF>& front, const QPointF& mouse,
                           const QList<ScreenArea>& screens, const QSizeF& size);

// The part of the visible frame a window covers: the window clipped to `visible`, or the
// whole visible frame without a window (or when the window lies wholly outside it).
QRectF anchor(const std::optional<QRectF>& front, const QRectF& visible);

// Moves `x` so that a box of `width` starting there stays inside [minX, maxX] once the
// transparent `border` around it is taken off.
double keepInside(double x, double width, double border, double minX, double maxX);

} // namespace Placement

} // namespace kivaro
