#pragma once

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>
#include <memory>

namespace kivaro::testing {

// A private virtual X server for one test program, on a display number the server picks
// itself (-displayfd), so that parallel tests and a desktop session never collide.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Whether an Xvfb binary is on the PATH.
    static bool available();

    // Starts the server with one screen of `size` (WIDTHxHEIGHTxDEPTH) and waits until it
    // accepts connections; false when it did not start (error() says why).
    bool start(const QString& size = QStringLiteral("640x480x24"));

    // Starts a small real window manager (openbox) on the server: it activates windows as
    // they map and keeps the EWMH properties, as a desktop does. Waits until it manages
    // windows; false when it did not.
    bool startWindowManager();
    static bool windowManagerAvailable();

    // ":N" once started.
    QString display() const { return display_; }
    QString error() const { return error_; }

private:
    std::unique_ptr<QProcess> process_;
    std::unique_ptr<QProcess> windowManager_;
    QString display_;
    QString error_;
};

// A test suite that shares one private server, started once for the suite. Tests begin their
// SetUp with `if (!serverReady()) return;`: without an Xvfb binary the test is skipped (failed
// where CI is set), and it fails when the server did not start.
class XvfbTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite() { server.reset(); }

    static bool serverReady();
    static QString display() { return server->display(); }

private:
    static inline std::unique_ptr<XvfbServer> server;
    static inline QString startError;
};

} // namespace kivaro::testing
