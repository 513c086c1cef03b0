#include "AppFixture.h"
#include "app/SingleInstance.h"
#include "base/Notifications.h"
#include "settings/Preferences.h"
#include "support/WaitUntil.h"

#include <QLocalSocket>
#include <QSystemTrayIcon>

#include <csignal>

namespace kivaro::testing {
namespace {

using Step = std::function<void(AppTest&)>;
struct Expect {
    const char* step;
    Step run;
    bool registered;
    QString driven;
    bool tracking;
};

const QString safariID = Store::safariID;
const QString chromeID = QStringLiteral("com.google.Chrome");

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
        {"our own window", front(QStringLiteral("Kivaro"), ownPid), true, safariID, true},
        {"another application", front(QStringLiteral("org.gnome.TextEditor")), false, safariID,
         false},
        {"our own window again", front(QStringLiteral("Kivaro"), ownPid), false, safariID, false},
        {"Chrome, not opted in", front(chromeID), false, safariID, false},
        {"no window at all", [](AppTest& test) { test.world.workspace.clearFront(); }, false,
         safariID, false},
        {"Safari again", front(safariID), true, safariID, true},
        {"settings window in front", front(QStringLiteral("Kivaro"), ownPid), true, safariID, true},
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
}

struct Dispatch {
    Hotkeys::Press press;
    bool visible;
    QStringList panelCalls;
    QString effect;
};

class DispatchTest : public AppTest, public ::testing::WithParamInterface<Dispatch> {};

TEST_P(DispatchTest, PressGoesToThePanelOrTheStore) {
    safari->setWindow(1,
                      {QStringLiteral("https://a.example/"), QStringLiteral("https://b.example/")});
    safari->setCurrent(1, 1);
    world.menuBar.setMenuBar(safariID, FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(
                                           QStringLiteral("Window"),
                                           {FakeMenuBarAccess::item(QStringLiteral("Pin Tab"))})}));
    start();
    bringForward(safariID);
    settle(*store);
    safari->setCurrent(1, 2);
    store->noteCurrentTab();
    settle(*store);
    panel->visible = GetParam().visible;

    delegate->pressed(GetParam().press);
    settle(*store);
    EXPECT_EQ(panel->calls, GetParam().panelCalls);
    QStringList effects;
    for (const RecordingToast::Shown& shown : world.toast.shown)
        effects.append(shown.text);
    if (safari->callsNamed(QStringLiteral("switchTo")) > 0)
        effects.append(QStringLiteral("switched"));
    EXPECT_EQ(effects.join(u','), GetParam().effect);
}

Dispatch row(HotkeyAction action, bool markdown, bool visible, QStringList calls,
             const char* effect) {
    return {{action, markdown}, visible, std::move(calls), QString::fromUtf8(effect)};
}

INSTANTIATE_TEST_SUITE_P(
    Table, DispatchTest,
    ::testing::Values(
        row(HotkeyAction::newTab, false, false, {QStringLiteral("show newTab")}, ""),
        row(HotkeyAction::newTab, false, true, {QStringLiteral("show newTab")}, ""),
        row(HotkeyAction::currentTab, false, true, {QStringLiteral("show currentTab")}, ""),
        row(HotkeyAction::copyLink, false, true, {QStringLiteral("copy plain")}, ""),
        row(HotkeyAction::copyLink, false, false, {}, "Link copied"),
        row(HotkeyAction::copyLink, true, true, {QStringLiteral("copy markdown")}, ""),
        row(HotkeyAction::copyLink, true, false, {}, "Markdown link copied"),
        row(HotkeyAction::pin, false, true, {QStringLiteral("pin")}, ""),
        row(HotkeyAction::pin, false, false, {}, "Tab pinned"),
        row(HotkeyAction::lastTab, false, true, {QStringLiteral("close")}, "switched"),
        row(HotkeyAction::lastTab, false, false, {}, "switched")));

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

TEST_F(AppTest, HidingTheTrayItemTakesEffectAtOnce) {
    start();
    ASSERT_NE(delegate->statusItem(), nullptr);
    EXPECT_TRUE(delegate->statusItem()->isVisible());
    world.preferences->store(PreferenceKey::showMenuBarIcon, false);
    EXPECT_FALSE(delegate->statusItem()->isVisible());
}

TEST_F(AppTest, AKeyAnotherProgramHoldsIsReportedOnceByName) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings.append(text); });
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::newTab).defaultCombo());
    start();
    bringForward(safariID);
    bringForward(QStringLiteral("org.gnome.TextEditor"));
    bringForward(safariID);
    qInstallMessageHandler(previous);
    const QStringList refused = warnings.filter(QStringLiteral("another program holds it"));
    ASSERT_EQ(refused.size(), 1) << warnings.join(u'\n').toStdString();
    EXPECT_TRUE(refused.first().contains(QStringLiteral("Open in new tab")));
    EXPECT_TRUE(registered()) << "the other shortcuts still register";
}

TEST_F(AppTest, ASecondStartReachesTheFirst) {
    int settingsShown = 0;
    start();
    delegate->showSettings = [&] { ++settingsShown; };
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("instance"));
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

} // namespace
} // namespace kivaro::testing
