#pragma once

#include <QList>
#include <QRectF>

#include <optional>

namespace kivaro {

// The windows on screen, as the window server lists them: the panel finds the browser's
// front window here to sit over it.
class WindowList {
public:
    struct Window {
        qint64 pid = 0;
        // 0 for ordinary application windows; docks, menus and overlays have other layers.
        int layer = 0;
        // In points, origin at the top left of the primary screen.
        QRectF bounds;

        bool operator==(const Window&) const = default;
    };

    // Windows smaller than this are palettes and pop-ups, never the front window.
    static constexpr double minimumWidth = 400;
    static constexpr double minimumHeight = 300;

    virtual ~WindowList() = default;

    // The on-screen windows, front to back, without desktop elements.
    virtual QList<Window> windows() const = 0;

    // The bounds of the application's front window: its first window of layer 0 that is
    // wider than 400 and taller than 300 points.
    std::optional<QRectF> frontWindow(qint64 pid) const {
        for (const Window& window : windows()) {
            if (window.pid == pid && window.layer == 0 && window.bounds.width() > minimumWidth &&
                window.bounds.height() > minimumHeight)
                return window.bounds;
        }
        return std::nullopt;
    }
};

} // namespace kivaro
