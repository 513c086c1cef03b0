#include "LiveBrowser.h"
#include "browsers/DevToolsBrowser.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "platform/linux/X11WindowList.h"
#include "support/Files.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"
#include "support/XvfbServer.h"

#include <QLocalSocket>
#include <QTemporaryDir>

namespace kivaro::testing {
namespace {

using namespace Qt::StringLiterals;

// The program as a person meets it: a headed Chromium showing two pages under Xvfb, openbox
// and a tray host; Kivaro started beside it; keys typed with xdotool.
class AppLiveTest : public ::testing::Test {
public:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "openbox", "trayer", "xdotool", "chromium"})
            KIVARO_REQUIRE_TOOL(!QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty(),
                                tool << " is not installed (scripts/setup installs it)");
        ASSERT_TRUE(server.start(u"1280x800x24"_s)) << server.error().toStdString();
        ASSERT_TRUE(server.startWindowManager());
        environment.insert(u"DISPLAY"_s, server.display());
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        for (const QString& name : {u"HOME"_s, u"XDG_CONFIG_HOME"_s})
            environment.insert(name, home.path());
        tray = run(u"trayer"_s);
        // Past the first run: no welcome window takes the front.
        writeFile(home.filePath(u"app.kivaro.Kivaro.conf"_s), "[General]\nwelcomed=true\n");
        chromium.setProcessEnvironment(environment);
        ASSERT_TRUE(
            startChromium(chromium, home.filePath(u"chromium"_s), pages.url(u"alpha"_s), true))
            << chromium.errorString().toStdString();
        browser->open(pages.url(u"bravo"_s), true);
        ASSERT_TRUE(waitUntil([&] { return browser->tabs().size() == 2; }));
        browser->switchTo(browser->tabs().first().windowID, 1);
        ASSERT_TRUE(
            waitUntil([&] { return currentTitleIs(*browser, PageServer::title(u"alpha"_s)); }));
    }

    // Starts `command` (words separated by spaces) on the test desktop.
    std::unique_ptr<LiveProcess> run(const QString& command) {
        auto process = std::make_unique<LiveProcess>();
        process->setProcessEnvironment(environment);
        QStringList words = command.split(u' ');
        process->launch(words.takeFirst(), words);
        return process;
    }
    QString xdotool(const QString& command) {
        const auto process = run(u"xdotool "_s + command);
        process->waitForFinished();
        return QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed();
    }

    // The widest window of the process, as an application's main window is.
    std::optional<QRectF> widest(qint64 pid) const {
        std::optional<QRectF> widest;
        for (const WindowList::Window& window : X11WindowList(server.display()).windows())
            if (window.pid == pid && (!widest || window.bounds.width() > widest->width()))
                widest = window.bounds;
        return widest;
    }

    // Kivaro has run its start-up once its event loop turns: it closes a connection to its
    // socket that says anything but the reopen message.
    bool answering() const {
        QLocalSocket socket;
        socket.connectToServer(runtime.filePath(u"kivaro/instance"_s));
        return socket.waitForConnected(1000) && socket.write("hello\n") > 0 &&
               socket.waitForDisconnected(5000);
    }

    XvfbServer server;
    QTemporaryDir home;
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(home.path())};
    PageServer pages;
    std::unique_ptr<LiveProcess> tray;
    LiveProcess chromium;
    std::unique_ptr<PrivateFolder> snapshots = PosixPrivateFolder::forSnapshots();
    std::unique_ptr<DevToolsBrowser> browser = std::make_unique<DevToolsBrowser>(
        u"org.chromium.Chromium"_s, u"Chromium"_s, QStringList{u"chromium"_s}, *snapshots);
};

TEST_F(AppLiveTest, CtrlTOpensThePanelOverTheBrowserAndReturnSwitchesTheTab) {
    // Kivaro takes its keys when it sees a browser in front; on a busy machine the window
    // manager may not have activated the browser's window yet.
    const QString browserPid = QString::number(chromium.processId());
    ASSERT_TRUE(waitUntil([&] { return xdotool(u"getactivewindow getwindowpid"_s) == browserPid; }))
        << "the browser is in front";
    const auto kivaro = run(programPath());
    ASSERT_TRUE(waitUntil([&] { return answering(); })) << "Kivaro did not start";
    const std::optional<QRectF> over = widest(chromium.processId());
    ASSERT_TRUE(over.has_value());

    xdotool(u"key ctrl+t"_s);
    std::optional<QRectF> panel;
    ASSERT_TRUE(waitUntil([&] { return (panel = widest(kivaro->processId())).has_value(); }));
    EXPECT_TRUE(over->contains(panel->center())) << "the panel sits over the browser";
    EXPECT_EQ(browser->tabs().size(), 2) << "the browser opened no tab of its own";

    const QString pid = QString::number(kivaro->processId());
    ASSERT_TRUE(waitUntil([&] { return xdotool(u"getactivewindow getwindowpid"_s) == pid; }))
        << "the panel has the keyboard";
    xdotool(u"type --delay 50 bravo"_s);
    xdotool(u"key Return"_s);
    EXPECT_TRUE(waitUntil([&] { return currentTitleIs(*browser, PageServer::title(u"bravo"_s)); }));
    kivaro->terminate();
    kivaro->waitForFinished();
    EXPECT_FALSE(kivaro->readAllStandardError().contains("no system tray"))
        << "it sits in the tray";
}

} // namespace
} // namespace kivaro::testing
