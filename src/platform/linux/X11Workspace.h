#pragma once

#include "platform/Workspace.h"

#include <QString>

#include <memory>
#include <mutex>

struct _XDisplay;

namespace kivaro {

class X11ActivationWatcher;

// The desktop as X11 and /proc show it. The front application is the owner of the EWMH active
// window: its WM_CLASS says which browser it is (through LinuxBrowsers; any other application
// goes by its class name) and _NET_WM_PID its process. Running browsers are found among the
// processes in /proc by their executable. Our own panel takes the keyboard when it shows, but
// it does not take the front, as a non-activating panel leaves it on the Mac: while a helper
// window of this process (anything but a normal window or a dialog) is active, the front
// application is still the one that was in front before it. Safe to call from any thread: the
// connection is this object's own and used by one caller at a time. Activation is heard on the main
// thread.
class X11Workspace : public Workspace {
public:
    // Connects to `displayName`, or to $DISPLAY when it is empty; `procFolder` is where the
    // process table is read.
    explicit X11Workspace(const QString& displayName = {},
                          QString procFolder = QStringLiteral("/proc"));
    ~X11Workspace() override;
    X11Workspace(const X11Workspace&) = delete;
    X11Workspace& operator=(const X11Workspace&) = delete;

    bool isConnected() const { return display_ != nullptr; }

    std::optional<Application> frontApplication() const override;
    // The main processes of the known browsers (their helper processes are left out).
    QList<Application> runningApplications() const override;
    bool isInstalled(const QString& bundleID) const override;
    // Starts the browser's program if it is not running; a running one is brought forward by
    // asking the window manager to activate its window.
    bool launch(const QString& bundleID, bool activate) override;
    // Hands an absolute address to xdg-open.
    bool openURL(const QString& url) override;
    void beep() override;
    // Watches the active window on a connection of its own, from the first handler on; the
    // handler hears of a change of application only, not of a window of the same one.
    void setActivationHandler(ActivationHandler handler) override;
    // Whether a client owns the compositing manager's selection of the default screen
    // (_NET_WM_CM_S0 on screen 0). Without a connection nothing is drawn here, so it says yes.
    bool compositing() const override;

private:
    bool activate(const QString& bundleID) const;
    void activeWindowChanged();

    mutable std::mutex mutex_;
    _XDisplay* display_ = nullptr;
    QString procFolder_;
    QString displayName_;
    qint64 ownPid_ = 0;
    // The last application in front that was not this process.
    mutable std::optional<Application> behindOurPanels_;
    ActivationHandler activated_;
    std::optional<std::optional<Application>> lastFront_;
    std::unique_ptr<X11ActivationWatcher> watcher_;
};

} // namespace kivaro
