#include "support/X11WindowManager.h"

#include "platform/linux/X11Properties.h"
#include "support/WaitUntil.h"

#include <QProcessEnvironment>
#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kivaro::testing {

namespace {

const QString program = QStringLiteral("openbox");

// Whether the manager runs and handles requests: a window mapped now gets managed. Events
// that reach it while it starts may wait in its queue until the next one wakes it, so each
// look also changes a root property, which it hears.
bool managing(const QString& name) {
    Display* display = XOpenDisplay(name.toLocal8Bit().constData());
    if (!display)
        return false;
    const Window probe =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, probe);
    const Atom poke = XInternAtom(display, "_KIVARO_TEST_POKE", False);
    const bool managed = waitUntil([&] {
        XChangeProperty(display, DefaultRootWindow(display), poke, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&probe), 1);
        XSync(display, False);
        const auto clients =
            windowProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW);
        return std::find(clients.begin(), clients.end(), probe) != clients.end();
    });
    XDestroyWindow(display, probe);
    XDeleteProperty(display, DefaultRootWindow(display), poke);
    XCloseDisplay(display);
    return managed;
}

} // namespace

X11WindowManager::~X11WindowManager() {
    if (!process_)
        return;
    process_->terminate();
    if (!process_->waitForFinished(5000))
        process_->kill();
    process_->waitForFinished();
}

bool X11WindowManager::available() {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool X11WindowManager::start(const QString& display) {
    process_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    process_->setProcessEnvironment(environment);
    process_->setProgram(QStandardPaths::findExecutable(program));
    process_->setArguments({QStringLiteral("--sm-disable")});
    process_->setStandardOutputFile(QProcess::nullDevice());
    process_->setStandardErrorFile(QProcess::nullDevice());
    process_->start();
    return process_->waitForStarted() && managing(display);
}

} // namespace kivaro::testing
