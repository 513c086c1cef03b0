#include "panel/FrontWindow.h"

#include "platform/WindowList.h"
#include "platform/Workspace.h"

namespace kivaro::FrontWindow {

std::optional<QRectF> frame(const Workspace& workspace, const WindowList& windows,
                            const QList<ScreenArea>& screens) {
    const std::optional<Workspace::Application> front = workspace.frontApplication();
    if (!front || screens.isEmpty())
        return std::nullopt;
    const std::optional<QRectF> bounds = windows.frontWindow(front->pid);
    if (!bounds)
        return std::nullopt;
    // The window server counts from the top left of the primary screen.
    return flipped(*bounds, screens.constFirst().frame.height());
}

std::optional<ScreenArea> screen(const std::optional<QRectF>& frame, const QPointF& mouse,
                                 const QList<ScreenArea>& screens) {
    return screenAt(screens, frame ? frame->center() : mouse);
}

} // namespace kivaro::FrontWindow
