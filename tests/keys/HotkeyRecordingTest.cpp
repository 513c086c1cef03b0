#include "keys/HotkeyRecording.h"

#include "base/Notifications.h"
#include "keys/Binding.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "support/KeyComboPrinter.h"
#include "support/ScratchPreferences.h"

#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using enum Modifier;
using Outcome = HotkeyRecording::Outcome;

class HotkeyRecordingTest : public ::testing::Test {
protected:
    HotkeyRecordingTest() : recording(std::make_unique<HotkeyRecording>(registrar, preferences)) {
        recording->onReject = [this] { ++beeps; };
        QObject::connect(&Notifications::center(), &Notifications::posted, &listener,
                         [this](const QString& name, const QVariant& object) {
                             if (name == Notifications::hotkeyRecording)
                                 announced.append(object.toBool());
                         });
    }

    bool storedNothing(HotkeyAction action) const {
        return !preferences.value(action.comboKey()).isValid();
    }

    testing::ScratchPreferences scratch;
    Preferences& preferences = scratch.preferences;
    FakeHotkeyRegistrar registrar;
    std::unique_ptr<HotkeyRecording> recording;
    QList<bool> announced;
    int beeps = 0;
    QObject listener; // gone first, and with it the connection
};

TEST_F(HotkeyRecordingTest, StartAndStopAnnounceTheRecording) {
    EXPECT_EQ(recording->keyDown({17, command, u"t"_qs}), Outcome::ignored);
    recording->start(HotkeyAction::pin);
    EXPECT_TRUE(recording->isRecording());
    EXPECT_EQ(recording->action(), HotkeyAction::pin);
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->action(), HotkeyAction::newTab);
    recording->stop();
    EXPECT_FALSE(recording->isRecording());
    EXPECT_EQ(announced, (QList<bool>{true, false, true, false}));
    // Destroying a recorder while it records gives the keys back.
    recording->start(HotkeyAction::lastTab);
    recording.reset();
    EXPECT_EQ(announced, (QList<bool>{true, false, true, false, true, false}));
}

TEST_F(HotkeyRecordingTest, PlainEscapeCancelsAndClearsTheMessage) {
    recording->start(HotkeyAction::pin);
    EXPECT_EQ(recording->keyDown({8, shift, u"c"_qs}), Outcome::rejected);
    // Bits that are no modifier key (a lock state) leave it plain.
    EXPECT_EQ(recording->keyDown({53, Modifiers::fromInt(0x1), u"\x1b"_qs}), Outcome::cancelled);
    EXPECT_FALSE(recording->isRecording());
    EXPECT_TRUE(recording->message().isEmpty());
    EXPECT_TRUE(storedNothing(HotkeyAction::pin));
    EXPECT_EQ(announced, (QList<bool>{true, false}));
}

TEST_F(HotkeyRecordingTest, RejectedKeysBeepKeepRecordingAndStoreNothing) {
    // The messages are the binding rules' own (see BindingTest), or the failed trial's for keys
    // another program holds; an Escape with a modifier is a key like any other.
    registrar.takeElsewhere({45, control | option, u"N"_qs});
    recording->start(HotkeyAction::pin);
    for (const KeyCombo& pressed :
         {KeyCombo{8, shift, u"c"_qs}, KeyCombo{49, command, u" "_qs},
          KeyCombo{8, option | shift | command, u"c"_qs}, KeyCombo{53, shift, u"\x1b"_qs},
          KeyCombo{45, control | option, u"n"_qs}}) {
        EXPECT_EQ(recording->keyDown(pressed), Outcome::rejected);
        EXPECT_EQ(recording->message(), Binding::problem(Binding::fromPress(pressed),
                                                         HotkeyAction::pin, preferences.combos())
                                            .value_or(u"Used by another app"_qs));
    }
    EXPECT_EQ(beeps, 5);
    EXPECT_TRUE(recording->isRecording());
    EXPECT_EQ(registrar.calls().size(), 1) << "a trial registration only for an allowed key";
    EXPECT_TRUE(storedNothing(HotkeyAction::pin));
}

TEST_F(HotkeyRecordingTest, AcceptedKeyIsTriedStoredAndEndsTheRecording) {
    recording->start(HotkeyAction::pin);
    EXPECT_EQ(recording->keyDown({8, control, u"c"_qs}), Outcome::stored);
    const KeyCombo controlC{8, control, u"C"_qs};
    EXPECT_EQ(preferences.combo(HotkeyAction::pin), controlC);
    EXPECT_FALSE(recording->isRecording());
    EXPECT_EQ(registrar.calls(), (QList<FakeHotkeyRegistrar::Call>{
                                     {{controlC, HotkeyRecording::trialId}, true, true}}));
    EXPECT_TRUE(registrar.active().isEmpty()) << "the trial registration is released at once";
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(announced, (QList<bool>{true, false}));
}

TEST_F(HotkeyRecordingTest, RecordingTheCurrentKeysAgainSkipsTheTrial) {
    preferences.setCombo(KeyCombo{45, control, u"N"_qs}, HotkeyAction::newTab);
    registrar.takeElsewhere({45, control, u"N"_qs}); // would fail a trial: must not be asked
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->keyDown({45, control, u"n"_qs}), Outcome::stored);
    EXPECT_TRUE(registrar.calls().isEmpty());

    // The default binding again: stored as no value.
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->keyDown({17, command, u"t"_qs}), Outcome::stored);
    EXPECT_TRUE(storedNothing(HotkeyAction::newTab));
}

} // namespace
} // namespace kivaro
