#pragma once

#include "panel/ScreenArea.h"

#include <QList>
#include <QRectF>

#include <optional>

namespace kivaro {

class Workspace;
class WindowList;

// The front window of the application in front: what the panel and the toast sit over.
namespace FrontWindow {

// Its frame in bottom-left desktop coordinates; nothing without a front application, a
// screen, or a window of it large enough to be a browser window.
std::optional<QRectF> frame(const Workspace& workspace, const WindowList& windows,
                            const QList<ScreenArea>& screens);

// The screen of the frame's centre, or of the mouse without a frame.
std::optional<ScreenArea> screen(const std::optional<QRectF>& frame, const QPointF& mouse,
                                 const QList<ScreenArea>& screens);

} // namespace FrontWindow

} // namespace kivaro
