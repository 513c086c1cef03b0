#include "keys/HotkeyRecording.h"
#include "panel/Access.h"
#include "panel/WelcomeModel.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "support/ScratchPreferences.h"
#include "ui/PanelController.h"
#include "ui/settings/HotkeyRecorder.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/welcome/LivePanel.h"
#include "ui/welcome/WelcomeWindowController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using enum Modifier;

ShortcutRow& rowOf(SettingsWindow& window, HotkeyAction action) {
    for (ShortcutRow* row : window.form(SettingsPane::shortcuts)->findChildren<ShortcutRow*>()) {
        if (row->recorder().action() == action)
            return *row;
    }
    throw std::logic_error("no row for the action");
}

struct RecordingCase {
    HotkeyAction action;
    const char* keys;    // pressed while recording, as QKeySequence writes them
    const char* message; // shown under the row; "" for none
    const char* shown;   // the recorder's text afterwards; "" while it still records
    friend void PrintTo(const RecordingCase& c, std::ostream* out) { *out << c.keys; }
};

class RecorderTest : public ::testing::TestWithParam<RecordingCase> {
protected:
    testing::ScratchPreferences scratch;
    FakeHotkeyRegistrar registrar;
    AccessCheck access{{nullptr, &registrar, &scratch.preferences, [] { return true; }, {}}};
    SettingsWindowController settings{scratch.preferences, {}, access, registrar};
};

TEST_P(RecorderTest, KeyPressesGoThroughTheRecordingRules) {
    const RecordingCase& test = GetParam();
    registrar.takeElsewhere({38, command | option, u"J"_qs}); // another program's Ctrl+Alt+J
    settings.show(SettingsPane::shortcuts);
    ShortcutRow& row = rowOf(*settings.window(), test.action);
    const KeyCombo before = scratch.preferences.combo(test.action);
    row.recorder().click();
    EXPECT_EQ(row.recorder().text(), u"Type shortcut"_qs);
    // Any widget of the application: the recorder listens to them all while it records.
    const QKeyCombination keys = QKeySequence(QString::fromUtf8(test.keys))[0];
    QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
    QApplication::sendEvent(&settings.window()->searchField(), &press);
    const bool recording = !*test.shown;
    EXPECT_EQ(row.shownMessage(), QString::fromUtf8(test.message));
    EXPECT_EQ(row.recorder().recording(), recording);
    EXPECT_EQ(row.recorder().text(),
              recording ? u"Type shortcut"_qs : QString::fromUtf8(test.shown));
    EXPECT_TRUE(settings.window()->searchField().text().isEmpty()); // the field never saw it
    const bool cancelled = QByteArray(test.keys) == "Esc";
    EXPECT_EQ(scratch.preferences.combo(test.action) == before, recording || cancelled);
}

using Action = HotkeyAction;
INSTANTIATE_TEST_SUITE_P(
    Presses, RecorderTest,
    ::testing::Values(
        RecordingCase{Action::newTab, "Shift+C", "Use Ctrl, Super or Alt", ""},
        RecordingCase{Action::newTab, "Ctrl+Q", "Used by the desktop", ""},
        // The pin binding would take copy-link's keys.
        RecordingCase{Action::pin, "Ctrl+Shift+C", "Used by Copy page link", ""},
        RecordingCase{Action::newTab, "Ctrl+Alt+J", "Used by another app", ""},
        // Escape alone cancels; with Ctrl (the Mac's ⌘) it is a binding like any other.
        RecordingCase{Action::lastTab, "Esc", "", "Super+Tab"},
        RecordingCase{Action::lastTab, "Ctrl+Esc", "", "Ctrl+⎋"},
        RecordingCase{Action::newTab, "Ctrl+Shift+Y", "", "Ctrl+Shift+Y"}));

using RecorderResetTest = RecorderTest;

TEST_F(RecorderResetTest, TheResetButtonPutsTheDefaultBackAndClosingEndsRecording) {
    settings.show(SettingsPane::shortcuts);
    scratch.preferences.setCombo(KeyCombo{16, command | shift, u"Y"_qs}, HotkeyAction::newTab);
    ShortcutRow& row = rowOf(*settings.window(), HotkeyAction::newTab);
    EXPECT_EQ(row.recorder().text(), u"Ctrl+Shift+Y"_qs);
    row.findChild<QToolButton*>()->click();
    EXPECT_FALSE(
        scratch.preferences.value(HotkeyAction(HotkeyAction::newTab).comboKey()).isValid());
    EXPECT_EQ(row.recorder().text(), u"Ctrl+T"_qs);
    // Closing the window mid-recording gives the hot keys back.
    row.recorder().click();
    settings.window()->close();
    EXPECT_FALSE(settings.recording().isRecording());
    EXPECT_EQ(row.recorder().text(), u"Ctrl+T"_qs);
}

// A window manager holds Super+Tab, the Linux form of ⌃Tab.
TEST_F(RecorderResetTest, AKeyAnotherProgramHoldsShowsAsNotAvailableInItsRowOnly) {
    settings.show(SettingsPane::shortcuts);
    ShortcutRow& lastTab = rowOf(*settings.window(), HotkeyAction::lastTab);
    EXPECT_TRUE(lastTab.shownMessage().isEmpty());
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::lastTab).defaultCombo());
    settings.state().refresh();
    EXPECT_EQ(lastTab.shownMessage(),
              u"Not available: another program holds Super+Tab. Click to record other keys."_qs);
    EXPECT_TRUE(rowOf(*settings.window(), HotkeyAction::newTab).shownMessage().isEmpty());
    EXPECT_TRUE(access.state().fix(AccessNeed::globalShortcuts).contains(u"Super+Tab"_qs));
}

class WelcomeCloseTest : public ::testing::TestWithParam<int> {
protected:
    testing::ScratchPreferences scratch;
    AccessCheck access{{}};
    WelcomeWindowController welcome{scratch.preferences, access, {}};
};

TEST_P(WelcomeCloseTest, ClosingOnAnyPageMarksTheWelcomeSeen) {
    welcome.show();
    welcome.model().go(GetParam());
    EXPECT_FALSE(scratch.preferences.welcomed());
    welcome.window()->close();
    EXPECT_TRUE(scratch.preferences.welcomed());
    EXPECT_FALSE(welcome.model().running());
    // Opening it again watches again, on the page it was left on.
    welcome.show();
    EXPECT_TRUE(welcome.model().running());
    EXPECT_EQ(welcome.view()->shownPage(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Pages, WelcomeCloseTest, ::testing::Values(0, 1, 2));

TEST(LivePanelTest, TheStandardScriptPlaysInTheRealPanelWithoutCountingAsTried) {
    testing::ScratchPreferences scratch;
    AccessCheck access({});
    WelcomeModel model(access);
    model.start();
    LivePanel live(scratch.preferences, nullptr);
    int finished = 0;
    QObject::connect(&live.player(), &DemoPlayer::finished, [&finished] { ++finished; });
    live.player().play(true, DemoScript::standard());
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(live.panel().typed().isEmpty()); // the script ends on a cleared field
    // Its site-search step: words searched on the site get the demo's own suggestions.
    live.setText(u"youtube"_qs);
    live.pressTab();
    live.setText(u"lofi"_qs);
    EXPECT_EQ(live.panel().suggestions(), DemoScript::data().suggestionsFor(u"lofi"_qs));
    EXPECT_FALSE(model.tried());
}

} // namespace
} // namespace kivaro
