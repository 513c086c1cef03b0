#include "app/AppDelegate.h"

#include "app/SingleInstance.h"
#include "base/Notifications.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "settings/Preferences.h"
#include "store/StoreFakes.h"
#include "support/Files.h"
#include "support/WaitUntil.h"
#ifdef Q_OS_LINUX
#include "platform/linux/X11HotkeyRegistrar.h"
#include "platform/linux/X11Workspace.h"
#include "support/RequireTool.h"
#include "support/X11TestClient.h"
#include "support/XvfbServer.h"
#endif

#include <QLocalSocket>
#include <QSystemTrayIcon>

#include <csignal>

namespace kivaro::testing {
namespace {

using namespace Qt::StringLiterals;

const QString safariID = Store::safariID;
const QString chromeID = u"com.google.Chrome"_s;

// The panel as the dispatcher sees it: each call recorded in words.
struct RecordingPanel : PanelControls {
    void show(OpenMode mode) override {
        calls.append(mode == OpenMode::newTab ? u"show newTab"_s : u"show currentTab"_s);
        visible = true;
    }
    void close() override {
        calls.append(u"close"_s);
        visible = false;
    }
    bool isVisible() const override { return visible; }
    void copyHotkey(bool markdown) override {
        calls.append(markdown ? u"copy markdown"_s : u"copy plain"_s);
    }
    void pinHotkey() override { calls.append(u"pin"_s); }

    QStringList calls;
    bool visible = false;
};

// The delegate over a store of fake browsers (Safari driven at once, Chrome only with
// "otherBrowsers"), and over the fake desktop and hot keys unless start() is given others.
class AppTest : public ::testing::Test {
public:
    static constexpr qint64 ownPid = 777;

    void start(Workspace& workspace, HotkeyRegistrar& keys) {
        Store::Adapters adapters = world.adapters({safari});
        adapters.optInBrowsers = [this] { return QList<Store::BrowserRef>{chrome}; };
        store = std::make_unique<Store>(std::move(adapters));
        hotkeys = std::make_unique<Hotkeys>(keys, *world.preferences);
        auto makePanel = [this] {
            return std::unique_ptr<PanelControls>(panel = new RecordingPanel);
        };
        delegate = std::make_unique<AppDelegate>(
            AppDelegate::Parts{*store, *hotkeys, workspace, *world.preferences, makePanel, ownPid},
            false);
        delegate->applicationDidFinishLaunching();
    }
    void start() { start(world.workspace, registrar); }
    // The delegate lets go of the adapters before a derived fixture's own ones go.
    void TearDown() override {
        delegate.reset();
        hotkeys.reset();
    }

    void bringForward(const QString& id, qint64 pid = 1) {
        world.workspace.bringForward({id, pid, id});
    }
    bool registered() const { return !hotkeys->refs().isEmpty(); }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> safari = std::make_shared<FakeBrowser>(safariID, u"Safari"_s);
    std::shared_ptr<FakeBrowser> chrome = std::make_shared<FakeBrowser>(chromeID, u"Chrome"_s);
    FakeHotkeyRegistrar registrar;
    std::unique_ptr<Store> store;
    std::unique_ptr<Hotkeys> hotkeys;
    RecordingPanel* panel = nullptr;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppTest, HotkeysFollowTheFrontApplication) {
    start();
    auto to = [this](QString id, qint64 pid = 1) { return [=, this] { bringForward(id, pid); }; };
    auto set = [this](QString key, bool on) {
        return [=, this] { world.preferences->store(key, on); };
    };
    auto recording = [](bool on) {
        return [=] { Notifications::center().post(Notifications::hotkeyRecording, on); };
    };
    const QString lastTabFlag = HotkeyAction(HotkeyAction::lastTab).enableFlag();
    // Each step; then: keys held, the browser driven, tabs tracked.
    const std::tuple<const char*, std::function<void()>, bool, QString, bool> story[] = {
        {"Safari in front", to(safariID), true, safariID, true},
        {"our own window", to(u"Kivaro"_s, ownPid), true, safariID, true},
        {"another application", to(u"org.gnome.TextEditor"_s), false, safariID, false},
        {"our own window again", to(u"Kivaro"_s, ownPid), false, safariID, false},
        {"Chrome, not opted in", to(chromeID), false, safariID, false},
        {"no window at all", [this] { world.workspace.clearFront(); }, false, safariID, false},
        {"Safari again", to(safariID), true, safariID, true},
        {"settings window in front", to(u"Kivaro"_s, ownPid), true, safariID, true},
        {"a setting changes there", set(PreferenceKey::otherBrowsers, true), false, safariID, true},
        {"recording starts", recording(true), false, safariID, true},
        {"Chrome, opted in", to(chromeID), true, chromeID, true},
        {"recording ends", recording(false), true, chromeID, true},
        {"recording starts in Chrome", recording(true), false, chromeID, true},
        {"last-tab key off", set(lastTabFlag, false), true, chromeID, false},
    };
    for (const auto& [step, run, held, driven, tracking] : story) {
        run();
        SCOPED_TRACE(step);
        EXPECT_EQ(registered(), held);
        EXPECT_EQ(store->browser()->bundleID(), driven);
        EXPECT_EQ(store->tracking(), tracking);
    }
    world.preferences->store(PreferenceKey::showMenuBarIcon, false);
    EXPECT_FALSE(delegate->statusItem()->isVisible()) << "hiding the tray item is immediate";
}

struct Dispatch {
    Hotkeys::Press press;
    bool visible;
    // What the panel is asked, then what the store did: its toast, or the tab switch.
    const char* outcome;
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
    QStringList outcome = panel->calls;
    for (const RecordingToast::Shown& shown : world.toast.shown)
        outcome.append(shown.text);
    if (safari->callsNamed(u"switchTo"_s) > 0)
        outcome.append(u"switched"_s);
    EXPECT_EQ(outcome.join(u','), QString::fromUtf8(GetParam().outcome));
}

using enum HotkeyActionValue;
INSTANTIATE_TEST_SUITE_P(
    Table, DispatchTest,
    ::testing::Values(
        Dispatch{{newTab}, false, "show newTab"}, Dispatch{{newTab}, true, "show newTab"},
        Dispatch{{currentTab}, true, "show currentTab"}, Dispatch{{copyLink}, true, "copy plain"},
        Dispatch{{copyLink}, false, "Link copied"},
        Dispatch{{copyLink, true}, true, "copy markdown"},
        Dispatch{{copyLink, true}, false, "Markdown link copied"}, Dispatch{{pin}, true, "pin"},
        Dispatch{{pin}, false, "Tab pinned"}, Dispatch{{lastTab}, true, "close,switched"},
        Dispatch{{lastTab}, false, "switched"}));

TEST_F(AppTest, SignalsOpenThePanelWithNoBrowserInFront) {
    start();
    for (const auto& [signal, call] :
         {std::pair{SIGUSR2, u"show currentTab"_s}, {SIGUSR1, u"show newTab"_s}}) {
        panel->calls.clear();
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_TRUE(waitUntil([&] { return panel->calls == QStringList{call}; }));
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
    for (const QString& id : {safariID, u"org.gnome.TextEditor"_s, safariID})
        bringForward(id);
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
    writeFile(path, {}); // a crashed copy's socket is only a file left behind
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
    XvfbServer server;
    std::optional<X11Workspace> workspace;
    std::optional<X11HotkeyRegistrar> keys;
};

TEST_F(AppDesktopTest, KeysFollowTheActiveWindowAndOpenThePanel) {
    KIVARO_REQUIRE_TOOL(XvfbServer::available(), "Xvfb is not installed");
    KIVARO_REQUIRE_TOOL(XvfbServer::windowManagerAvailable(), "openbox is not installed");
    ASSERT_TRUE(server.start()) << server.error().toStdString();
    ASSERT_TRUE(server.startWindowManager());
    world.preferences->store(PreferenceKey::otherBrowsers, true);
    start(workspace.emplace(server.display()), keys.emplace(server.display()));
    X11TestClient user(server.display());
    ASSERT_FALSE(registered());

    user.createApplicationWindow(u"google-chrome"_s, u"Google-chrome"_s, 4242);
    ASSERT_TRUE(waitUntil([&] { return registered(); })) << "Chrome in front holds the keys";
    EXPECT_EQ(store->browser()->bundleID(), chromeID);
    ASSERT_TRUE(user.type({VirtualKey::t, Modifier::command, u"T"_s}));
    EXPECT_TRUE(waitUntil([&] { return panel->calls == QStringList{u"show newTab"_s}; }));

    // Our panel taking the keyboard leaves Chrome in front, for the keys and the placement.
    user.setActive(user.createWindow({0, 0, 680, 60}, QCoreApplication::applicationPid(),
                                     X11TestClient::Type::utility));
    const auto frontPid = [&] {
        return workspace->frontApplication().value_or(Workspace::Application()).pid;
    };
    EXPECT_TRUE(waitUntil([&] { return frontPid() == 4242; }));
    EXPECT_TRUE(registered());

    user.createApplicationWindow(u"xterm"_s, u"XTerm"_s, 4343);
    EXPECT_TRUE(waitUntil([&] { return !registered(); })) << "another window releases them";
}
#endif

} // namespace
} // namespace kivaro::testing
