#include "platform/linux/X11Workspace.h"

#include "XvfbServer.h"
#include "support/ScopedEnv.h"
#include "support/X11TestClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using Application = Workspace::Application;

const QString chromiumID = QStringLiteral("org.chromium.Chromium");

class X11WorkspaceTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        requireServer();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(proc_.isValid());
        workspace = std::make_unique<X11Workspace>(display(), proc_.path());
        ASSERT_TRUE(workspace->isConnected());
        desktop = std::make_unique<X11TestClient>(display());
        ASSERT_TRUE(desktop->isConnected());
    }

    void TearDown() override {
        if (desktop)
            desktop->removeActiveWindow();
    }

    // A process in the fake process table.
    void addProcess(const QString& pid, const QString& executable, const QByteArray& cmdline) {
        const QString folder = proc_.path() + u'/' + pid;
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::link(executable, folder + QStringLiteral("/exe")));
        QFile arguments(folder + QStringLiteral("/cmdline"));
        ASSERT_TRUE(arguments.open(QIODevice::WriteOnly));
        arguments.write(cmdline);
    }

    QTemporaryDir proc_;
    std::unique_ptr<X11Workspace> workspace;
    std::unique_ptr<X11TestClient> desktop;
};

// Programs on a private PATH that note how they were started.
class FakePrograms {
public:
    FakePrograms() : path_("PATH", QFile::encodeName(folder_.path())) {}

    bool add(const QString& name) {
        QFile script(folder_.path() + u'/' + name);
        if (!script.open(QIODevice::WriteOnly))
            return false;
        // Written aside and renamed, so that a note that exists is complete.
        script.write(
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && /bin/mv \"$0.part\" \"$0.ran\"\n");
        script.close();
        return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The arguments of the program's run, once it has run (bounded wait).
    std::optional<QStringList> run(const QString& name) const {
        QFile ran(folder_.path() + u'/' + name + QStringLiteral(".ran"));
        for (int poll = 0; poll < 200 && !ran.exists(); ++poll)
            QThread::msleep(20);
        if (!ran.open(QIODevice::ReadOnly))
            return std::nullopt;
        return QString::fromLocal8Bit(ran.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir folder_;
    testing::ScopedEnv path_;
};

TEST_F(X11WorkspaceTest, FrontApplicationIsTheOwnerOfTheActiveWindow) {
    const auto chromium =
        desktop->createWindow(QStringLiteral("chromium (Work)"), QStringLiteral("Chromium"), 4242);
    desktop->setActiveWindow(chromium);
    EXPECT_EQ(workspace->frontApplication(),
              (Application{chromiumID, 4242, QStringLiteral("Chromium")}));

    const auto chrome = desktop->createWindow(QStringLiteral("google-chrome"),
                                              QStringLiteral("Google-chrome"), std::nullopt);
    desktop->setActiveWindow(chrome);
    EXPECT_EQ(workspace->frontApplication(),
              (Application{QStringLiteral("com.google.Chrome"), 0, QStringLiteral("Chrome")}));

    const auto terminal =
        desktop->createWindow(QStringLiteral("xterm"), QStringLiteral("XTerm"), 7);
    desktop->setActiveWindow(terminal);
    EXPECT_EQ(workspace->frontApplication(),
              (Application{QStringLiteral("XTerm"), 7, QStringLiteral("XTerm")}));
}

TEST_F(X11WorkspaceTest, NoUsableActiveWindowMeansNoFrontApplication) {
    desktop->removeActiveWindow();
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);

    desktop->setGarbledActiveWindow();
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);

    // The window manager has not yet caught up with a window that is gone.
    const auto gone =
        desktop->createWindow(QStringLiteral("chromium"), QStringLiteral("Chromium"), 1);
    desktop->setActiveWindow(gone);
    desktop->destroyWindow(gone);
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);
    // The connection survives the refused requests.
    const auto next =
        desktop->createWindow(QStringLiteral("chromium"), QStringLiteral("Chromium"), 2);
    desktop->setActiveWindow(next);
    EXPECT_EQ(workspace->frontApplication(),
              (Application{chromiumID, 2, QStringLiteral("Chromium")}));
}

TEST_F(X11WorkspaceTest, RunningBrowsersAreTheirMainProcesses) {
    addProcess(QStringLiteral("100"), QStringLiteral("/usr/lib/chromium/chromium"),
               QByteArray("/usr/lib/chromium/chromium\0--remote-debugging-port=0\0", 53));
    addProcess(QStringLiteral("101"), QStringLiteral("/usr/lib/chromium/chromium"),
               QByteArray("/usr/lib/chromium/chromium\0--type=renderer\0", 44));
    addProcess(QStringLiteral("102"), QStringLiteral("/opt/google/chrome/chrome (deleted)"),
               QByteArray("chrome\0", 7));
    addProcess(QStringLiteral("103"), QStringLiteral("/usr/bin/bash"), QByteArray("bash\0", 5));
    addProcess(QStringLiteral("self"), QStringLiteral("/usr/lib/chromium/chromium"),
               QByteArray("chromium\0", 9));
    const QString firefox = QStringLiteral("/usr/lib/firefox-esr/firefox-esr");
    addProcess(QStringLiteral("104"), firefox, QByteArray("firefox-esr\0", 12));
    addProcess(QStringLiteral("105"), firefox, QByteArray("firefox-esr\0-contentproc\0", 25));

    const QList<Application> running = workspace->runningApplications();
    EXPECT_EQ(running.size(), 3);
    EXPECT_TRUE(running.contains(
        (Application{QStringLiteral("org.mozilla.firefox"), 104, QStringLiteral("Firefox")})));
    EXPECT_TRUE(running.contains((Application{chromiumID, 100, QStringLiteral("Chromium")})));
    EXPECT_TRUE(running.contains(
        (Application{QStringLiteral("com.google.Chrome"), 102, QStringLiteral("Chrome")})));
    EXPECT_TRUE(workspace->isRunning(chromiumID));
    EXPECT_FALSE(workspace->isRunning(QStringLiteral("com.brave.Browser")));
}

TEST_F(X11WorkspaceTest, InstalledBrowsersAreStartedFromThePath) {
    FakePrograms programs;
    ASSERT_TRUE(programs.add(QStringLiteral("chromium")));
    EXPECT_TRUE(workspace->isInstalled(chromiumID));
    EXPECT_FALSE(workspace->isInstalled(QStringLiteral("com.google.Chrome")));
    EXPECT_FALSE(workspace->isInstalled(QStringLiteral("com.apple.Safari")));

    EXPECT_FALSE(workspace->launch(QStringLiteral("com.google.Chrome"), true));
    EXPECT_FALSE(workspace->launch(QStringLiteral("XTerm"), true));
    EXPECT_TRUE(workspace->launch(chromiumID, true));
    EXPECT_EQ(programs.run(QStringLiteral("chromium")), QStringList());
}

TEST_F(X11WorkspaceTest, ARunningBrowserIsActivatedThroughTheWindowManager) {
    addProcess(QStringLiteral("200"), QStringLiteral("/usr/lib/chromium/chromium"),
               QByteArray("chromium\0", 9));
    const auto terminal =
        desktop->createWindow(QStringLiteral("xterm"), QStringLiteral("XTerm"), 7);
    const auto chromium =
        desktop->createWindow(QStringLiteral("chromium"), QStringLiteral("Chromium"), 200);
    desktop->setClientList({terminal, chromium});
    desktop->actAsWindowManager();

    EXPECT_TRUE(workspace->launch(chromiumID, false));
    EXPECT_TRUE(workspace->launch(chromiumID, true));
    EXPECT_EQ(desktop->nextActivationRequest(), chromium);
}

TEST_F(X11WorkspaceTest, OpensOnlyAbsoluteAddressesAsOneArgument) {
    FakePrograms programs;
    ASSERT_TRUE(programs.add(QStringLiteral("xdg-open")));
    EXPECT_FALSE(workspace->openURL(QStringLiteral("--help")));
    EXPECT_FALSE(workspace->openURL(QStringLiteral("relative/path")));
    EXPECT_FALSE(workspace->openURL(QString()));
    const QString address = QStringLiteral("https://example.com/a?q=$(x)&r=;y'z");
    EXPECT_TRUE(workspace->openURL(address));
    EXPECT_EQ(programs.run(QStringLiteral("xdg-open")), QStringList{address});
}

} // namespace
} // namespace kivaro
