#pragma once

#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;
struct _XDisplay;

namespace kivaro {

// Hears the window manager change the active window: PropertyNotify for _NET_ACTIVE_WINDOW on
// the root window, read from a connection of its own when its socket becomes readable inside
// Qt's event loop. Nothing is polled. Lives on the main thread; `changed` runs there, once for
// every batch of changes read together.
class X11ActivationWatcher {
public:
    // Connects to `displayName`, or to $DISPLAY when it is empty. Without a connection it
    // never calls `changed`.
    X11ActivationWatcher(const QString& displayName, std::function<void()> changed);
    ~X11ActivationWatcher();
    X11ActivationWatcher(const X11ActivationWatcher&) = delete;
    X11ActivationWatcher& operator=(const X11ActivationWatcher&) = delete;

    bool isConnected() const { return display_ != nullptr; }

private:
    void read();

    _XDisplay* display_ = nullptr;
    unsigned long activeWindow_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> changed_;
};

} // namespace kivaro
