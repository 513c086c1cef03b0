#include "AppFixture.h"
#include "app/SingleInstance.h"
#include "base/Notifications.h"
#include "settings/Preferences.h"
#ifdef Q_OS_LINUX
#include "platform/linux/X11HotkeyRegistrar.h"
#include "platform/linux/X11Workspace.h"
#include "support/RequireTool.h"
#include "support/X11TestClient.h"
#include "support/X11TestDesktop.h"
#include "support/XvfbServer.h"
#endif

#include <QLocalSocket>
#include <QSystemTrayIcon>

#include <csignal>

namespace kivaro::testing {
namespace {

using namespace Qt::StringLiterals;

using Step = std::function<void(AppTest&)>;
struct Expect {
    const char* step;
    Step run;
    bool registered;
    QString driven;
    bool tracking;
};

const QString safariID = Store::safariID;
const QString chromeID = u"com.google.Chrome"_s;

TEST_F(AppTest, HotkeysFollowTheFrontApplication) {
    start();
    auto front = [](const QString& id, qint64 pid = 1) {
        return [=](AppTest& test) { test.bringForward(id, pid); };
    };
    auto set = [](const QString& key, bool on) {
        return [=](AppTest& test) { test.world.preferences->store(key, on); };
    };
    auto recording = [](bool on) {
        return [=](AppTest&) { Notifications::center().post(Notifications::hotkeyRecording, on); };
    };
    const QList<Expect> story = {
        {"Safari in front", front(safariID), true, safariID, true},
        {"our own window", front(u"Kivaro"_s, ownPid), true, safariID, true},
        {"another application", front(u"org.gnome.TextEditor"_s), false, safariID, false},
        {"our own window again", front(u"Kivaro"_s, ownPid), false, safariID, false},
        {"Chrome, not opted in", front(chromeID), false, safariID, false},
        {"no window at all", [](AppTest& test) { test.world.workspace.clearFront(); }, false,
         safariID, false},
        {"Safari again", front(safariID), true, safariID, true},
        {"settings window in front", front(u"Kivaro"_s, ownPid), true, safariID, true},
        {"a setting changes there", set(PreferenceKey::otherBrowsers, true), false, safariID, true},
        {"recording starts", recording(true), false, safariID, true},
        {"Chrome, opted in", front(chromeID), true, chromeID, true},
        {"recording ends", recording(false), true, chromeID, true},
        {"recording starts in Chrome", recording(true), false, chromeID, true},
        {"last-tab key off", set(HotkeyAction(HotkeyAction::lastTab).enableFlag(), false), true,
         chromeID, false},
    };
    for (const Expect& expect : story) {
        expect.run(*this);
        SCOPED_TRACE(expect.step);
        EXPECT_EQ(registered(), expect.registered);
        EXPECT_EQ(store->browser()->bundleID(), expect.driven);
        EXPECT_EQ(store->tracking(), expect.tracking);
    }
    world.preferences->store(PreferenceKey::showMenuBarIcon, false);
    EXPECT_FALSE(delegate->statusItem()->isVisible())
        << "hiding the tray item takes effect at once";
}

struct Dispatch {
    Hotkeys::Press press;
    bool visible;
    const char* panelCall; // what the panel is asked, if anything
    const char* effect;    // what the store did: its toast, or the tab switch
};

class DispatchTest : public AppTest, public ::testing::WithParamInterface<Dispatch> {};

TEST_P(DispatchTest, PressGoesToThePanelOrTheStore) {
    safari->setWindow(1, {u"https://a.example/"_s, u"https://b.example/"_s});
    safari->setCurrent(1, 1);
    world.menuBar.setMenuBar(safariID, FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(
                                           u"Window"_s, {FakeMenuBarAccess::item(u"Pin Tab"_s)})}));
    start();
    bringForward(safariID);
    settle(*store);
    safari->setCurrent(1, 2);
    store->noteCurrentTab();
    settle(*store);
    panel->visible = GetParam().visible;

    delegate->pressed(GetParam().press);
    settle(*store);
    EXPECT_EQ(panel->calls.join(u','), QString::fromUtf8(GetParam().panelCall));
    QStringList effects;
    for (const RecordingToast::Shown& shown : world.toast.shown)
        effects.append(shown.text);
    if (safari->callsNamed(u"switchTo"_s) > 0)
        effects.append(u"switched"_s);
    EXPECT_EQ(effects.join(u','), QString::fromUtf8(GetParam().effect));
}

using enum HotkeyActionValue;
INSTANTIATE_TEST_SUITE_P(
    Table, DispatchTest,
    ::testing::Values(Dispatch{{newTab}, false, "show newTab", ""},
                      Dispatch{{newTab}, true, "show newTab", ""},
                      Dispatch{{currentTab}, true, "show currentTab", ""},
                      Dispatch{{copyLink}, true, "copy plain", ""},
                      Dispatch{{copyLink}, false, "", "Link copied"},
                      Dispatch{{copyLink, true}, true, "copy markdown", ""},
                      Dispatch{{copyLink, true}, false, "", "Markdown link copied"},
                      Dispatch{{pin}, true, "pin", ""}, Dispatch{{pin}, false, "", "Tab pinned"},
                      Dispatch{{lastTab}, true, "close", "switched"},
                      Dispatch{{lastTab}, false, "", "switched"}));

TEST_F(AppTest, SignalsOpenThePanelWithNoBrowserInFront) {
    start();
    for (const auto& [signal, call] :
         {std::pair{SIGUSR2, "show currentTab"}, {SIGUSR1, "show newTab"}}) {
        panel->calls.clear();
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_TRUE(
            waitUntil([&] { return panel->calls == QStringList{QString::fromUtf8(call)}; }));
    }
    EXPECT_FALSE(registered());
}

TEST_F(AppTest, AKeyAnotherProgramHoldsIsReportedOnceByName) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings.append(text); });
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::newTab).defaultCombo());
    start();
    bringForward(safariID);
    bringForward(u"org.gnome.TextEditor"_s);
    bringForward(safariID);
    qInstallMessageHandler(previous);
    const QStringList refused = warnings.filter(u"another program holds it"_s);
    ASSERT_EQ(refused.size(), 1) << warnings.join(u'\n').toStdString();
    EXPECT_TRUE(refused.first().contains(u"Open in new tab"_s));
    EXPECT_TRUE(registered()) << "the other shortcuts still register";
}

TEST_F(AppTest, ASecondStartReachesTheFirst) {
    int settingsShown = 0;
    start();
    delegate->showSettings = [&] { ++settingsShown; };
    QTemporaryDir folder;
    const QString path = folder.filePath(u"instance"_s);
    QFile stale(path); // a crashed copy's socket is only a file left behind
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance first(path);
    ASSERT_FALSE(first.handOver());
    ASSERT_TRUE(first.listen([&] { delegate->reopen(); }));

    QLocalSocket stranger;
    stranger.connectToServer(path);
    ASSERT_TRUE(stranger.waitForConnected(5000));
    stranger.write("show me everything\n");
    EXPECT_TRUE(SingleInstance(path).handOver());
    EXPECT_TRUE(waitUntil([&] { return settingsShown == 1; }));
    drainEvents();
    EXPECT_EQ(settingsShown, 1) << "only the second start's message counts";
}

#ifdef Q_OS_LINUX
// A real desktop: Xvfb, openbox activating windows as they map, the X11 adapters, and another
// X client as the user. The adapters outlive the delegate (AppTest's TearDown lets it go).
class AppDesktopTest : public AppTest {
public:
    void SetUp() override {
        KIVARO_REQUIRE_TOOL(XvfbServer::available(), "Xvfb is not installed");
        KIVARO_REQUIRE_TOOL(XvfbServer::windowManagerAvailable(), "openbox is not installed");
        ASSERT_TRUE(server.start()) << server.error().toStdString();
        ASSERT_TRUE(server.startWindowManager());
    }

    XvfbServer server;
    std::optional<X11Workspace> workspace;
    std::optional<X11HotkeyRegistrar> keys;
};

TEST_F(AppDesktopTest, KeysFollowTheActiveWindowAndOpenThePanel) {
    world.preferences->store(PreferenceKey::otherBrowsers, true);
    start(workspace.emplace(server.display()), keys.emplace(server.display()));
    X11TestClient user(server.display());
    ASSERT_FALSE(registered());

    user.createWindow(u"google-chrome"_s, u"Google-chrome"_s, 4242);
    ASSERT_TRUE(waitUntil([&] { return registered(); })) << "Chrome in front holds the keys";
    EXPECT_EQ(store->browser()->bundleID(), u"com.google.Chrome"_s);
    ASSERT_TRUE(user.type({VirtualKey::t, Modifier::command, u"T"_s}));
    EXPECT_TRUE(waitUntil([&] { return panel->calls == QStringList{u"show newTab"_s}; }));

    // Our panel taking the keyboard leaves Chrome in front, for the keys and the placement.
    X11TestDesktop ours(server.display());
    ours.setActive(ours.createWindow({0, 0, 680, 60}, QCoreApplication::applicationPid(),
                                     X11TestDesktop::Type::utility));
    const auto front = [&] {
        return workspace->frontApplication().value_or(Workspace::Application());
    };
    EXPECT_TRUE(waitUntil([&] { return front().pid == 4242; }));
    EXPECT_TRUE(registered());

    user.createWindow(u"xterm"_s, u"XTerm"_s, 4343);
    EXPECT_TRUE(waitUntil([&] { return !registered(); })) << "another window releases them";
}

#endif

} // namespace
} // namespace kivaro::testing
