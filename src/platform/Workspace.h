#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

// The desktop around the program: which applications run, which one is in front, and the
// few requests the program makes of them. Queries may come from any thread; an adapter
// answers them without touching the event loop.
class Workspace {
public:
    // A running application, identified across the program by its bundle identifier (on
    // Linux the adapter maps a window's class to the same identifiers).
    struct Application {
        QString bundleID;
        qint64 pid = 0;
        QString name;

        bool operator==(const Application&) const = default;
    };

    // Told the application that has just come to the front, or nothing when no window is
    // active or its owner cannot be told.
    using ActivationHandler = std::function<void(const std::optional<Application>& front)>;

    virtual ~Workspace() = default;

    // The application that owns the active window, if it is known.
    virtual std::optional<Application> frontApplication() const = 0;
    virtual QList<Application> runningApplications() const = 0;
    // Whether the application is installed at all (running or not).
    virtual bool isInstalled(const QString& bundleID) const = 0;

    // Starts the application if needed; brings it forward when `activate` is set. False when
    // it cannot be found or started.
    virtual bool launch(const QString& bundleID, bool activate) = 0;
    // Opens an address with the user's default handler.
    virtual bool openURL(const QString& url) = 0;
    // The system's alert sound: the answer to a key or action that cannot be carried out.
    virtual void beep() = 0;

    // One handler, called on the main thread each time another application comes to the
    // front; an empty function stops the calls. Set it on the main thread.
    virtual void setActivationHandler(ActivationHandler handler) = 0;

    // Whether a compositing manager blends translucent windows over what lies behind them.
    // Without one a window's clear pixels show black, so the panel and the toast cut their
    // windows to their visible shape instead. The Mac's window server always composites; on
    // X11 it is a program of its own, which may start or stop at any time.
    virtual bool compositing() const { return true; }

    bool isRunning(const QString& bundleID) const {
        for (const Application& app : runningApplications())
            if (app.bundleID == bundleID)
                return true;
        return false;
    }
};

} // namespace kivaro
