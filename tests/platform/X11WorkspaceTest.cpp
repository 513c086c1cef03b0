#include "platform/linux/X11Workspace.h"

#include "support/ScopedEnv.h"
#include "support/WaitUntil.h"
#include "support/X11TestClient.h"
#include "support/XvfbServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using Application = Workspace::Application;

const QString chromiumID = u"org.chromium.Chromium"_s;

class X11WorkspaceTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        if (!serverReady())
            return;
        ASSERT_TRUE(proc_.isValid());
        workspace = std::make_unique<X11Workspace>(display(), proc_.path());
        ASSERT_TRUE(workspace->isConnected());
        desktop = std::make_unique<X11TestClient>(display());
        ASSERT_TRUE(desktop->isConnected());
    }

    // A process in the fake process table.
    void addProcess(const QString& pid, const QString& executable, const QByteArray& cmdline) {
        const QString folder = proc_.path() + u'/' + pid;
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::link(executable, folder + u"/exe"_s));
        QFile arguments(folder + u"/cmdline"_s);
        ASSERT_TRUE(arguments.open(QIODevice::WriteOnly));
        arguments.write(cmdline);
    }

    std::optional<Application> frontOf(const QString& instance, const QString& windowClass,
                                       qint64 pid) {
        desktop->setActive(desktop->createApplicationWindow(instance, windowClass, pid));
        return workspace->frontApplication();
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
        QFile ran(folder_.path() + u'/' + name + u".ran"_s);
        if (!testing::waitUntil([&] { return ran.exists(); }, 4000) ||
            !ran.open(QIODevice::ReadOnly))
            return std::nullopt;
        return QString::fromLocal8Bit(ran.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir folder_;
    testing::ScopedEnv path_;
};

TEST_F(X11WorkspaceTest, FrontApplicationIsTheOwnerOfAUsableActiveWindow) {
    desktop->clear();
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);
    desktop->setGarbledActive();
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);
    // The window manager has not yet caught up with a window that is gone.
    const auto gone = desktop->createApplicationWindow(u"chromium"_s, u"Chromium"_s, 1);
    desktop->setActive(gone);
    desktop->destroyKeepingListed(gone);
    EXPECT_EQ(workspace->frontApplication(), std::nullopt);
    // The connection survives the refused requests. Which class is which browser is
    // LinuxBrowsers' part.
    EXPECT_EQ(frontOf(u"chromium"_s, u"Chromium"_s, 2),
              (Application{chromiumID, 2, u"Chromium"_s}));
    EXPECT_EQ(frontOf(u"google-chrome"_s, u"Google-chrome"_s, 0),
              (Application{u"com.google.Chrome"_s, 0, u"Chrome"_s}));
    EXPECT_EQ(frontOf(u"xterm"_s, u"XTerm"_s, 7), (Application{u"XTerm"_s, 7, u"XTerm"_s}));
}

TEST_F(X11WorkspaceTest, RunningBrowsersAreTheirMainProcesses) {
    const QString chromium = u"/usr/lib/chromium/chromium"_s;
    const QString firefox = u"/usr/lib/firefox-esr/firefox-esr"_s;
    addProcess(u"100"_s, chromium, QByteArray("/usr/lib/chromium/chromium\0--x=0\0", 33));
    addProcess(u"101"_s, chromium, QByteArray("/usr/lib/chromium/chromium\0--type=renderer\0", 44));
    addProcess(u"102"_s, u"/opt/google/chrome/chrome (deleted)"_s, QByteArray("chrome\0", 7));
    addProcess(u"103"_s, u"/usr/bin/bash"_s, QByteArray("bash\0", 5));
    addProcess(u"self"_s, chromium, QByteArray("chromium\0", 9));
    addProcess(u"104"_s, firefox, QByteArray("firefox-esr\0", 12));
    addProcess(u"105"_s, firefox, QByteArray("firefox-esr\0-contentproc\0", 25));
    QList<Application> running = workspace->runningApplications();
    std::sort(running.begin(), running.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    EXPECT_EQ(running, (QList<Application>{{chromiumID, 100, u"Chromium"_s},
                                           {u"com.google.Chrome"_s, 102, u"Chrome"_s},
                                           {u"org.mozilla.firefox"_s, 104, u"Firefox"_s}}));
    EXPECT_TRUE(workspace->isRunning(chromiumID));
    EXPECT_FALSE(workspace->isRunning(u"com.brave.Browser"_s));
}

TEST_F(X11WorkspaceTest, InstalledBrowsersAreStartedFromThePathRunningOnesActivated) {
    FakePrograms programs;
    ASSERT_TRUE(programs.add(u"chromium"_s));
    EXPECT_TRUE(workspace->isInstalled(chromiumID));
    EXPECT_FALSE(workspace->isInstalled(u"com.google.Chrome"_s));
    EXPECT_FALSE(workspace->isInstalled(u"com.apple.Safari"_s));
    EXPECT_FALSE(workspace->launch(u"com.google.Chrome"_s, true));
    EXPECT_FALSE(workspace->launch(u"XTerm"_s, true));
    EXPECT_TRUE(workspace->launch(chromiumID, true));
    EXPECT_EQ(programs.run(u"chromium"_s), QStringList());
    // Once running, it is activated through the window manager instead.
    addProcess(u"200"_s, u"/usr/lib/chromium/chromium"_s, QByteArray("chromium\0", 9));
    const auto terminal = desktop->createApplicationWindow(u"xterm"_s, u"XTerm"_s, 7);
    const auto window = desktop->createApplicationWindow(u"chromium"_s, u"Chromium"_s, 200);
    desktop->publishStack({terminal, window});
    desktop->actAsWindowManager();
    EXPECT_TRUE(workspace->launch(chromiumID, false));
    EXPECT_TRUE(workspace->launch(chromiumID, true));
    EXPECT_EQ(desktop->nextActivationRequest(), window);
}

TEST_F(X11WorkspaceTest, OpensOnlyAbsoluteAddressesAsOneArgument) {
    FakePrograms programs;
    ASSERT_TRUE(programs.add(u"xdg-open"_s));
    for (const QString& refused : {u"--help"_s, u"relative/path"_s, QString()})
        EXPECT_FALSE(workspace->openURL(refused)) << refused.toStdString();
    const QString address = u"https://example.com/a?q=$(x)&r=;y'z"_s;
    EXPECT_TRUE(workspace->openURL(address));
    EXPECT_EQ(programs.run(u"xdg-open"_s), QStringList{address});
}

} // namespace
} // namespace kivaro
