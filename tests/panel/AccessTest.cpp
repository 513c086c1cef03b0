#include "panel/Access.h"

#include "base/Notifications.h"
#include "keys/Hotkeys.h"
#include "panel/WelcomeModel.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "support/ScratchPreferences.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using enum Modifier;

struct SessionCase {
    const char* type;
    const char* display;
    bool x11;
};

class SessionTest : public ::testing::TestWithParam<SessionCase> {};

TEST_P(SessionTest, AnX11SessionIsOneThatSaysSoOrHasADisplay) {
    QProcessEnvironment environment;
    if (*GetParam().type)
        environment.insert(u"XDG_SESSION_TYPE"_qs, QString::fromUtf8(GetParam().type));
    if (*GetParam().display)
        environment.insert(u"DISPLAY"_qs, QString::fromUtf8(GetParam().display));
    EXPECT_EQ(isX11Session(environment), GetParam().x11);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, SessionTest,
    ::testing::Values(SessionCase{"x11", "", true}, SessionCase{"X11", ":0", true},
                      // XWayland sets a display, but no program gets global keys.
                      SessionCase{"wayland", ":0", false}, SessionCase{"tty", ":1", true},
                      SessionCase{"", ":0", true}, SessionCase{"", "", false}));

class AccessTest : public ::testing::Test {
protected:
    AccessCheck::Sources sources() {
        return {nullptr, &registrar, &preferences, [this] { return x11; }, {}};
    }

    testing::ScratchPreferences scratch;
    Preferences& preferences = scratch.preferences;
    FakeHotkeyRegistrar registrar;
    bool x11 = true;
};

TEST_F(AccessTest, KeysAnotherProgramHoldsAreNamedPerShortcut) {
    const KeyCombo superTab{VirtualKey::tab, control, u"Tab"_qs};
    const KeyCombo markdown{VirtualKey::c, command | shift | option, u"C"_qs};
    registrar.takeElsewhere(superTab);
    registrar.takeElsewhere(markdown);
    const QList<HeldKey> held = keysHeldElsewhere(registrar, preferences);
    // Copy-link is unusable when only its Markdown variant is taken.
    EXPECT_EQ(held, (QList<HeldKey>{{HotkeyAction::copyLink, u"Ctrl+Alt+Shift+C"_qs},
                                    {HotkeyAction::lastTab, u"Super+Tab"_qs}}));
    // Every trial was released again.
    EXPECT_TRUE(registrar.active().isEmpty());

    // A switched-off shortcut asks for nothing.
    preferences.store(HotkeyAction(HotkeyAction::lastTab).enableFlag(), false);
    EXPECT_EQ(keysHeldElsewhere(registrar, preferences).size(), 1);
}

TEST_F(AccessTest, KeysThisProgramHoldsAreAvailable) {
    Hotkeys hotkeys(registrar, preferences);
    hotkeys.registerKeys();
    ASSERT_FALSE(hotkeys.refs().isEmpty());
    EXPECT_TRUE(keysHeldElsewhere(registrar, preferences).isEmpty());
    // And our own keys stay registered.
    EXPECT_EQ(registrar.active().size(), hotkeys.refs().size());
}

TEST_F(AccessTest, ChangesAreAnnouncedOnlyWhenTheStateDiffers) {
    AccessCheck access(sources());
    WelcomeModel model(access);
    int changed = 0;
    QObject::connect(&access, &AccessCheck::changed, [&changed] { ++changed; });
    int granted = 0;
    QObject::connect(&model, &WelcomeModel::grantedChanged, [&granted] { ++granted; });
    model.refresh();
    EXPECT_EQ(model.granted(), QSet<AccessNeed>{AccessNeed::globalShortcuts});
    model.refresh();
    model.refresh();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(granted, 1);

    // A held key makes the shortcuts missing; another held key changes the state, not the set.
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::lastTab).defaultCombo());
    model.refresh();
    EXPECT_TRUE(model.granted().isEmpty());
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::pin).defaultCombo());
    model.refresh();
    EXPECT_EQ(changed, 3);
    EXPECT_EQ(granted, 2);
    EXPECT_FALSE(access.state().fix(AccessNeed::globalShortcuts).isEmpty());
    x11 = false;
    model.refresh();
    EXPECT_TRUE(access.state().fix(AccessNeed::globalShortcuts).contains(u"X11"_qs));
}

TEST_F(AccessTest, TheBrowserIsAskedOffTheMainThreadOneAskAtATime) {
    std::atomic<int> asks = 0;
    AccessCheck::Sources withBrowser = sources();
    withBrowser.reachableBrowser = [&asks] {
        ++asks;
        return u"Chromium"_qs;
    };
    AccessCheck access(withBrowser);
    access.refresh();
    access.refresh(); // still asking: no second ask
    EXPECT_FALSE(access.granted(AccessNeed::browserControl));
    EXPECT_TRUE(testing::waitUntil([&] { return access.granted(AccessNeed::browserControl); }));
    EXPECT_EQ(access.state().reachableBrowser, u"Chromium"_qs);
    EXPECT_EQ(asks, 1);
    EXPECT_TRUE(access.state().fixCommands(AccessNeed::browserControl).isEmpty());
}

TEST_F(AccessTest, TheWelcomeModelNoticesThePanelWhileStarted) {
    AccessCheck access(sources());
    WelcomeModel model(access);
    Notifications::center().post(Notifications::panelShown);
    EXPECT_FALSE(model.tried());
    model.start();
    model.start(); // one observer, one timer
    EXPECT_TRUE(model.running());
    int tried = 0;
    QObject::connect(&model, &WelcomeModel::triedChanged, [&tried] { ++tried; });
    Notifications::center().post(Notifications::panelShown);
    Notifications::center().post(Notifications::panelShown);
    EXPECT_TRUE(model.tried());
    EXPECT_EQ(tried, 1);
    model.stop();
    EXPECT_FALSE(model.running());
    model.go(7);
    EXPECT_EQ(model.step(), WelcomeModel::lastStep);
}

} // namespace
} // namespace kivaro
