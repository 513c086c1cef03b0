#pragma once

#include "panel/ScreenArea.h"

#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>

namespace kivaro {

class Workspace;
class WindowList;

// The screens and the mouse as the panel's placement sees them: bottom-left desktop
// coordinates, converted from and to Qt's top-left ones.
namespace Desktop {

// Every screen, the primary one first.
QList<ScreenArea> screens();
QPointF mouse();

// The height the flip between the two coordinate systems turns on: the primary screen's.
double primaryHeight();

// A frame in desktop coordinates as Qt's window geometry, and back.
QRect toWindowGeometry(const QRectF& frame);
QRectF fromWindowGeometry(const QRect& geometry);

// The front window's frame through the adapters, when both are given.
std::optional<QRectF> frontWindow(const Workspace* workspace, const WindowList* windows);

} // namespace Desktop

} // namespace kivaro
