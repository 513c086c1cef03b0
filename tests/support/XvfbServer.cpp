#include "support/XvfbServer.h"

#include "platform/linux/X11Properties.h"
#include "support/RequireTool.h"
#include "support/WaitUntil.h"

#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace kivaro::testing {

namespace {

const QString program = u"Xvfb"_s;
const QString windowManager = u"openbox"_s;
// Start-up takes well under a second; the bound only keeps a broken server from hanging
// the test program.
constexpr int startLimitMs = 30000;

void stop(QProcess* process) {
    if (!process)
        return;
    process->terminate();
    if (!process->waitForFinished(startLimitMs))
        process->kill();
    process->waitForFinished(startLimitMs);
}

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

XvfbServer::~XvfbServer() {
    stop(windowManager_.get());
    stop(process_.get());
}

bool XvfbServer::available() {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool XvfbServer::windowManagerAvailable() {
    return !QStandardPaths::findExecutable(windowManager).isEmpty();
}

bool XvfbServer::startWindowManager() {
    windowManager_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, display_);
    windowManager_->setProcessEnvironment(environment);
    windowManager_->setStandardOutputFile(QProcess::nullDevice());
    windowManager_->setStandardErrorFile(QProcess::nullDevice());
    windowManager_->start(QStandardPaths::findExecutable(windowManager), {u"--sm-disable"_s});
    return windowManager_->waitForStarted() && managing(display_);
}

bool XvfbServer::start(const QString& size) {
    process_ = std::make_unique<QProcess>();
    process_->setProgram(QStandardPaths::findExecutable(program));
    // -displayfd 1: the server picks a free display and writes its number to standard
    // output once it is ready for clients.
    process_->setArguments({u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s,
                            // Without it the server resets whenever its last client leaves
                            // and refuses connections meanwhile.
                            u"-noreset"_s, u"-screen"_s, u"0"_s, size});
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start();
    if (!process_->waitForStarted(startLimitMs)) {
        error_ = process_->errorString();
        return false;
    }
    QByteArray output;
    while (!output.contains('\n') && process_->waitForReadyRead(startLimitMs))
        output += process_->readAllStandardOutput();
    bool ok = false;
    const int number = output.trimmed().toInt(&ok);
    if (!ok) {
        error_ = u"Xvfb gave no display number: "_s +
                 QString::fromLocal8Bit(process_->readAllStandardError());
        return false;
    }
    display_ = u":%1"_s.arg(number);
    return true;
}

void XvfbTest::SetUpTestSuite() {
    if (!XvfbServer::available())
        return;
    server = std::make_unique<XvfbServer>();
    if (!server->start())
        startError = server->error();
}

bool XvfbTest::serverReady() {
    [] {
        KIVARO_REQUIRE_TOOL(XvfbServer::available(),
                            "no Xvfb on this machine (scripts/setup installs the xvfb package)");
        ASSERT_TRUE(startError.isEmpty()) << startError.toStdString();
    }();
    return !IsSkipped() && !HasFatalFailure();
}

} // namespace kivaro::testing
