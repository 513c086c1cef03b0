#include "keys/HotkeyRecording.h"

#include "base/Notifications.h"
#include "platform/KeyCombo.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "settings/Preferences.h"
#include "support/TestSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using namespace HotkeyModifier;
using Outcome = HotkeyRecording::Outcome;

class HotkeyRecordingTest : public ::testing::Test {
protected:
    HotkeyRecordingTest()
        : preferences(testing::settingsFile(testing::StoreKind::ini,
                                            folder.filePath(QStringLiteral("settings.conf")))) {
        recording = std::make_unique<HotkeyRecording>(registrar, preferences);
        recording->onReject = [this] { ++beeps; };
        connection = QObject::connect(&Notifications::center(), &Notifications::posted,
                                      [this](const QString& name, const QVariant& object) {
                                          if (name == Notifications::hotkeyRecording)
                                              announced.append(object.toBool());
                                      });
    }

    ~HotkeyRecordingTest() override {
        recording.reset();
        QObject::disconnect(connection);
    }

    QTemporaryDir folder;
    FakeHotkeyRegistrar registrar;
    Preferences preferences;
    std::unique_ptr<HotkeyRecording> recording;
    QMetaObject::Connection connection;
    QList<bool> announced;
    int beeps = 0;
};

const quint64 commandFlag = EventModifier::command;

TEST_F(HotkeyRecordingTest, StartAndStopAnnounceTheRecording) {
    EXPECT_EQ(recording->keyDown({17, u"t"_qs, commandFlag}), Outcome::ignored);
    recording->start(HotkeyAction::pin);
    EXPECT_TRUE(recording->isRecording());
    EXPECT_EQ(recording->action(), HotkeyAction::pin);
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->action(), HotkeyAction::newTab);
    recording->stop();
    EXPECT_FALSE(recording->isRecording());
    EXPECT_EQ(announced, (QList<bool>{true, false, true, false}));
}

TEST_F(HotkeyRecordingTest, PlainEscapeCancelsButEscapeWithAModifierIsAKey) {
    recording->start(HotkeyAction::pin);
    EXPECT_EQ(recording->keyDown({53, u"\x1b"_qs, EventModifier::shift}), Outcome::rejected);
    EXPECT_EQ(recording->message(), u"Use ⌘, ⌃ or ⌥"_qs);
    EXPECT_EQ(recording->keyDown({53, u"\x1b"_qs, 0x10000 /* caps lock */}), Outcome::cancelled);
    EXPECT_FALSE(recording->isRecording());
    EXPECT_TRUE(recording->message().isEmpty());
    EXPECT_EQ(preferences.combo(HotkeyAction::pin), HotkeyAction(HotkeyAction::pin).defaultCombo());
    EXPECT_EQ(announced, (QList<bool>{true, false}));
}

TEST_F(HotkeyRecordingTest, RejectedKeysBeepKeepRecordingAndStoreNothing) {
    recording->start(HotkeyAction::pin);
    EXPECT_EQ(recording->keyDown({8, u"c"_qs, EventModifier::shift}), Outcome::rejected);
    EXPECT_EQ(recording->message(), u"Use ⌘, ⌃ or ⌥"_qs);
    EXPECT_EQ(recording->keyDown({49, u" "_qs, commandFlag}), Outcome::rejected);
    EXPECT_EQ(recording->message(), u"Used by macOS"_qs);
    EXPECT_EQ(recording->keyDown(
                  {8, u"c"_qs, commandFlag | EventModifier::shift | EventModifier::option}),
              Outcome::rejected);
    EXPECT_EQ(recording->message(), u"Used by Copy page link"_qs);
    EXPECT_EQ(beeps, 3);
    EXPECT_TRUE(recording->isRecording());
    EXPECT_TRUE(registrar.calls().isEmpty()) << "no trial registration for a rejected key";
    EXPECT_FALSE(preferences.value(HotkeyAction(HotkeyAction::pin).comboKey()).isValid());
}

TEST_F(HotkeyRecordingTest, AcceptedKeyIsTriedStoredAndEndsTheRecording) {
    recording->start(HotkeyAction::pin);
    EXPECT_EQ(recording->keyDown({8, u"c"_qs, EventModifier::control}), Outcome::stored);
    EXPECT_EQ(preferences.combo(HotkeyAction::pin), (HotkeyCombo{8, control, u"C"_qs}));
    EXPECT_FALSE(recording->isRecording());
    ASSERT_EQ(registrar.calls().size(), 1);
    EXPECT_EQ(registrar.calls().constFirst(),
              (FakeHotkeyRegistrar::Call{{8, control, 99}, true, true}));
    EXPECT_TRUE(registrar.active().isEmpty()) << "the trial registration is released at once";
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(announced, (QList<bool>{true, false}));
}

TEST_F(HotkeyRecordingTest, KeysAnotherProgramHoldsAreRejected) {
    registrar.takeElsewhere(45, control | option);
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->keyDown({45, u"n"_qs, EventModifier::control | EventModifier::option}),
              Outcome::rejected);
    EXPECT_EQ(recording->message(), u"Used by another app"_qs);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(preferences.combo(HotkeyAction::newTab),
              HotkeyAction(HotkeyAction::newTab).defaultCombo());
    // The next key replaces the message.
    EXPECT_EQ(recording->keyDown({45, u"n"_qs, EventModifier::control}), Outcome::stored);
}

TEST_F(HotkeyRecordingTest, RecordingTheCurrentKeysAgainSkipsTheTrial) {
    preferences.setCombo(HotkeyCombo{45, control, u"N"_qs}, HotkeyAction::newTab);
    registrar.takeElsewhere(45, control); // would fail a trial: must not be asked
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->keyDown({45, u"n"_qs, EventModifier::control}), Outcome::stored);
    EXPECT_TRUE(registrar.calls().isEmpty());

    // The default binding again: stored as no value.
    recording->start(HotkeyAction::newTab);
    EXPECT_EQ(recording->keyDown({17, u"t"_qs, commandFlag}), Outcome::stored);
    EXPECT_FALSE(preferences.value(HotkeyAction(HotkeyAction::newTab).comboKey()).isValid());
}

TEST_F(HotkeyRecordingTest, DestroyingARecordingRecorderGivesTheKeysBack) {
    recording->start(HotkeyAction::lastTab);
    recording.reset();
    EXPECT_EQ(announced, (QList<bool>{true, false}));
}

} // namespace
} // namespace kivaro
