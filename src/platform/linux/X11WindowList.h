#pragma once

#include "platform/WindowList.h"

#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <mutex>

struct _XDisplay;

namespace kivaro {

// A screen as the X server counts it, in device pixels, and the device pixels in one of Qt's
// points there. Qt keeps a screen's top-left corner where the X server has it and divides
// only the distances from it, so a screen's origin is the same in both.
struct ScreenScale {
    QRect pixels;
    double ratio = 1;

    bool operator==(const ScreenScale&) const = default;
};

// A rectangle of device pixels in points, scaled about the origin of the screen that holds
// its centre (the first screen when none does); unchanged without screens.
QRectF toPoints(const QRectF& pixels, const QList<ScreenScale>& screens);

// The screens of the running Qt application; none without one.
QList<ScreenScale> qtScreenScales();

// The windows on an X11 desktop, through the window manager's EWMH properties: the active
// window first, then the client list from the top of the stack down. Minimised and unmapped
// windows are not on screen; desktop windows are left out; docks, menus and other special
// windows get a layer other than 0. Bounds include the window manager's frame and are in
// Qt's points, like the screens and the mouse the panel is placed with.
class X11WindowList : public WindowList {
public:
    using Scales = std::function<QList<ScreenScale>()>;

    // Connects to `displayName`, or to $DISPLAY when it is empty. Without a connection the
    // list is empty. `scales` gives the screens' scale factors at each listing.
    explicit X11WindowList(const QString& displayName = {}, Scales scales = qtScreenScales);
    ~X11WindowList() override;
    X11WindowList(const X11WindowList&) = delete;
    X11WindowList& operator=(const X11WindowList&) = delete;

    bool isConnected() const { return display_ != nullptr; }

    QList<Window> windows() const override;

private:
    mutable std::mutex mutex_;
    _XDisplay* display_ = nullptr;
    Scales scales_;
};

} // namespace kivaro
