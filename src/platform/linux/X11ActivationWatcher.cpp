#include "platform/linux/X11ActivationWatcher.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>

namespace kivaro {

X11ActivationWatcher::X11ActivationWatcher(const QString& displayName,
                                           std::function<void()> changed)
    : changed_(std::move(changed)) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display_)
        return;
    activeWindow_ = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
    XSelectInput(display_, DefaultRootWindow(display_), PropertyChangeMask);
    XFlush(display_);
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { read(); });
}

X11ActivationWatcher::~X11ActivationWatcher() {
    notifier_.reset();
    if (display_)
        XCloseDisplay(display_);
}

void X11ActivationWatcher::read() {
    bool activated = false;
    // XPending reads the socket into Xlib's queue; everything queued is handled here, so
    // nothing waits unseen behind a notifier that stays quiet.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        activated =
            activated || (event.type == PropertyNotify && event.xproperty.atom == activeWindow_);
    }
    if (activated && changed_)
        changed_();
}

} // namespace kivaro
