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

TEST(SessionTest, AnX11SessionIsOneThatSaysSoOrHasADisplay) {
    // XWayland sets a display, but no program gets global keys there.
    const std::tuple<QString, QString, bool> cases[] = {
        {u"x11"_qs, {}, true},       {u"X11"_qs, u":0"_qs, true}, {u"wayland"_qs, u":0"_qs, false},
        {u"tty"_qs, u":1"_qs, true}, {{}, u":0"_qs, true},        {{}, {}, false}};
    for (const auto& [type, display, x11] : cases) {
        QProcessEnvironment environment;
        if (!type.isEmpty())
            environment.insert(u"XDG_SESSION_TYPE"_qs, type);
        if (!display.isEmpty())
            environment.insert(u"DISPLAY"_qs, display);
        EXPECT_EQ(isX11Session(environment), x11) << type.toStdString() << display.toStdString();
    }
}

class AccessTest : public ::testing::Test {
protected:
    testing::ScratchPreferences scratch;
    Preferences& preferences = scratch.preferences;
    FakeHotkeyRegistrar registrar;
    bool x11 = true;
    AccessCheck::Sources sources{nullptr, &registrar, &preferences, [this] { return x11; }, {}};
};

TEST_F(AccessTest, KeysAnotherProgramHoldsAreNamedPerShortcutOursAreAvailable) {
    registrar.takeElsewhere({VirtualKey::tab, control, u"Tab"_qs});
    registrar.takeElsewhere({VirtualKey::c, command | shift | option, u"C"_qs});
    // Copy-link is unusable when only its Markdown variant is taken.
    EXPECT_EQ(keysHeldElsewhere(registrar, preferences),
              (QList<HeldKey>{{HotkeyAction::copyLink, u"Ctrl+Alt+Shift+C"_qs},
                              {HotkeyAction::lastTab, u"Super+Tab"_qs}}));
    EXPECT_TRUE(registrar.active().isEmpty()) << "every trial was released again";
    // A switched-off shortcut asks for nothing.
    preferences.store(HotkeyAction(HotkeyAction::lastTab).enableFlag(), false);
    EXPECT_EQ(keysHeldElsewhere(registrar, preferences).size(), 1);
}

TEST_F(AccessTest, KeysThisProgramHoldsAreAvailableAndStayRegistered) {
    Hotkeys hotkeys(registrar, preferences);
    hotkeys.registerKeys();
    ASSERT_FALSE(hotkeys.refs().isEmpty());
    EXPECT_TRUE(keysHeldElsewhere(registrar, preferences).isEmpty());
    EXPECT_EQ(registrar.active().size(), hotkeys.refs().size());
}

TEST_F(AccessTest, ChangesAreAnnouncedOnlyWhenTheStateDiffers) {
    AccessCheck access(sources);
    WelcomeModel model(access);
    int changed = 0;
    int granted = 0;
    QObject::connect(&access, &AccessCheck::changed, [&changed] { ++changed; });
    QObject::connect(&model, &WelcomeModel::grantedChanged, [&granted] { ++granted; });
    for (int i = 0; i < 3; ++i)
        model.refresh();
    EXPECT_EQ(model.granted(), QSet<AccessNeed>{AccessNeed::globalShortcuts});
    EXPECT_EQ(std::pair(changed, granted), std::pair(1, 1));
    // A held key makes the shortcuts missing; another held key changes the state, not the set.
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::lastTab).defaultCombo());
    model.refresh();
    EXPECT_TRUE(model.granted().isEmpty());
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::pin).defaultCombo());
    model.refresh();
    EXPECT_EQ(std::pair(changed, granted), std::pair(3, 2));
    x11 = false;
    model.refresh();
    EXPECT_TRUE(access.state().fix(AccessNeed::globalShortcuts).contains(u"X11"_qs));
}

TEST_F(AccessTest, TheBrowserIsAskedOffTheMainThreadOneAskAtATime) {
    std::atomic<int> asks = 0;
    sources.reachableBrowser = [&asks] {
        ++asks;
        return u"Chromium"_qs;
    };
    AccessCheck access(sources);
    access.refresh();
    access.refresh(); // still asking: no second ask
    EXPECT_FALSE(access.granted(AccessNeed::browserControl));
    EXPECT_TRUE(testing::waitUntil([&] { return access.granted(AccessNeed::browserControl); }));
    EXPECT_EQ(access.state().reachableBrowser, u"Chromium"_qs);
    EXPECT_EQ(asks, 1);
}

TEST_F(AccessTest, TheWelcomeModelNoticesThePanelWhileStarted) {
    AccessCheck access(sources);
    WelcomeModel model(access);
    int tried = 0;
    QObject::connect(&model, &WelcomeModel::triedChanged, [&tried] { ++tried; });
    Notifications::center().post(Notifications::panelShown);
    EXPECT_FALSE(model.tried());
    model.start();
    model.start(); // one observer, one timer
    for (int i = 0; i < 2; ++i)
        Notifications::center().post(Notifications::panelShown);
    EXPECT_EQ(tried, 1);
    model.go(7);
    EXPECT_EQ(model.step(), WelcomeModel::lastStep);
}

} // namespace
} // namespace kivaro
