#pragma once

#include <QProcess>
#include <QString>

#include <memory>

namespace kivaro::testing {

// A small real window manager (openbox) on a test display: it activates windows as they map
// and keeps the EWMH properties, as the user's desktop does.
class X11WindowManager {
public:
    ~X11WindowManager();

    static bool available();

    // Starts it and waits (bounded) until it manages the screen; false when it did not.
    bool start(const QString& display);

private:
    std::unique_ptr<QProcess> process_;
};

} // namespace kivaro::testing
