#pragma once

#include "platform/WindowList.h"

#include <QString>

#include <mutex>

struct _XDisplay;

namespace kivaro {

// The windows on an X11 desktop, through the window manager's EWMH properties: the active
// window first, then the client list from the top of the stack down. Minimised and unmapped
// windows are not on screen; desktop windows are left out; docks, menus and other special
// windows get a layer other than 0. Bounds include the window manager's frame.
class X11WindowList : public WindowList {
public:
    // Connects to `displayName`, or to $DISPLAY when it is empty. Without a connection the
    // list is empty.
    explicit X11WindowList(const QString& displayName = {});
    ~X11WindowList() override;
    X11WindowList(const X11WindowList&) = delete;
    X11WindowList& operator=(const X11WindowList&) = delete;

    bool isConnected() const { return display_ != nullptr; }

    QList<Window> windows() const override;

private:
    mutable std::mutex mutex_;
    _XDisplay* display_ = nullptr;
};

} // namespace kivaro
