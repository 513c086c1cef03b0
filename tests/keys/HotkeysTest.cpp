#include "keys/Hotkeys.h"

#include "keys/HotkeyRecording.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "support/KeyComboPrinter.h"
#include "support/ScratchPreferences.h"

#include <QCoreApplication>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace kivaro {
namespace {

using enum Modifier;
using Held = FakeHotkeyRegistrar::Held;
using Press = Hotkeys::Press;

class HotkeysTest : public ::testing::Test {
protected:
    HotkeysTest() : hotkeys(std::make_unique<Hotkeys>(registrar, preferences)) {
        hotkeys->onPress = [this](Press press) {
            pressed.append(press);
            pressThreads.append(QThread::currentThread());
        };
    }

    void enable(HotkeyAction action, bool on) { preferences.store(action.enableFlag(), on); }

    // What the registered keys would report, in registration order.
    QList<Press> registeredPresses() const {
        QList<Press> presses;
        for (const Held& held : registrar.active())
            presses.append(Hotkeys::pressOf(held.id).value());
        return presses;
    }

    testing::ScratchPreferences scratch;
    Preferences& preferences = scratch.preferences;
    FakeHotkeyRegistrar registrar;
    std::unique_ptr<Hotkeys> hotkeys;
    QList<Press> pressed;
    QList<QThread*> pressThreads;
};

TEST(HotkeysIdTest, EveryPressHasAnIdOfItsOwnAndNoOtherIdMeansAnything) {
    const QList<Press> meaningful{{HotkeyAction::newTab},   {HotkeyAction::currentTab},
                                  {HotkeyAction::copyLink}, {HotkeyAction::copyLink, true},
                                  {HotkeyAction::pin},      {HotkeyAction::lastTab}};
    QSet<quint32> ids;
    for (const Press& press : meaningful) {
        ids.insert(Hotkeys::idOf(press));
        EXPECT_EQ(Hotkeys::pressOf(Hotkeys::idOf(press)), press);
    }
    EXPECT_EQ(ids.size(), meaningful.size());
    // Nor the id of the recorder's trial registration.
    for (quint32 id = 0; id <= HotkeyRecording::trialId; ++id) {
        if (!ids.contains(id)) {
            EXPECT_EQ(Hotkeys::pressOf(id), std::nullopt) << id;
        }
    }
    EXPECT_EQ(Hotkeys::pressOf(0xFFFFFFFF), std::nullopt);
}

TEST_F(HotkeysTest, RegistersTheDefaultsWithTheMarkdownVariantOnce) {
    hotkeys->registerKeys();
    hotkeys->registerKeys();
    const QList<Held> expected{
        {{17, command, u"T"_qs}, Hotkeys::idOf({HotkeyAction::newTab})},
        {{37, command, u"L"_qs}, Hotkeys::idOf({HotkeyAction::currentTab})},
        {{8, shift | command, u"C"_qs}, Hotkeys::idOf({HotkeyAction::copyLink})},
        {{8, option | shift | command, u"C"_qs}, Hotkeys::idOf({HotkeyAction::copyLink, true})},
        {{35, shift | command, u"P"_qs}, Hotkeys::idOf({HotkeyAction::pin})},
        {{48, control, u"Tab"_qs}, Hotkeys::idOf({HotkeyAction::lastTab})},
    };
    EXPECT_EQ(registrar.active(), expected);
    EXPECT_EQ(registrar.calls().size(), 6);
    EXPECT_EQ(hotkeys->refs().size(), 6);
    for (const auto& call : registrar.calls())
        EXPECT_FALSE(call.exclusive);
}

TEST_F(HotkeysTest, DisabledFlagsRegisterNothingAndALaterRegisterTriesAgain) {
    for (HotkeyAction action : HotkeyAction::allCases())
        enable(action, false);
    hotkeys->registerKeys();
    EXPECT_TRUE(registrar.calls().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());

    enable(HotkeyAction::pin, true);
    hotkeys->registerKeys();
    EXPECT_EQ(registeredPresses(), QList<Press>{{HotkeyAction::pin}});
}

TEST_F(HotkeysTest, CopyLinkFlagControlsBothCopyKeysAndOptionBindingsGetNoVariant) {
    const QList<Press> others{{HotkeyAction::newTab},
                              {HotkeyAction::currentTab},
                              {HotkeyAction::pin},
                              {HotkeyAction::lastTab}};
    enable(HotkeyAction::copyLink, false);
    hotkeys->registerKeys();
    EXPECT_EQ(registeredPresses(), others);
    hotkeys->unregisterKeys();

    enable(HotkeyAction::copyLink, true);
    preferences.setCombo(KeyCombo{8, option | command, u"C"_qs}, HotkeyAction::copyLink);
    hotkeys->registerKeys();
    QList<Press> withCopy = others;
    withCopy.insert(2, {HotkeyAction::copyLink});
    EXPECT_EQ(registeredPresses(), withCopy);
}

TEST_F(HotkeysTest, ARefusedBindingIsSkippedAndTheOthersStillRegister) {
    registrar.takeElsewhere({17, command, u"T"_qs});
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.calls().size(), 6);
    EXPECT_EQ(hotkeys->refs().size(), 5);
    EXPECT_FALSE(registrar.press({17, command, u"T"_qs}));
}

TEST_F(HotkeysTest, UnregisterReleasesInOrderAndReRegisterReadsNewBindings) {
    hotkeys->registerKeys();
    const QList<HotkeyRegistrar::Ref> refs = hotkeys->refs();
    hotkeys->unregisterKeys();
    hotkeys->unregisterKeys();
    EXPECT_EQ(registrar.released(), refs);
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());
    EXPECT_TRUE(registrar.hasPressHandler());

    const KeyCombo controlCommandN{45, control | command, u"N"_qs};
    preferences.setCombo(controlCommandN, HotkeyAction::newTab);
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.active().constFirst(),
              (Held{controlCommandN, Hotkeys::idOf({HotkeyAction::newTab})}));
}

TEST_F(HotkeysTest, PressesArriveOnTheMainThreadAfterTheCallback) {
    hotkeys->registerKeys();
    ASSERT_TRUE(registrar.press({8, option | shift | command, u"C"_qs}));
    EXPECT_TRUE(pressed.isEmpty()) << "delivered inside the platform callback";
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, (QList<Press>{{HotkeyAction::copyLink, true}}));

    std::thread other([this] { registrar.press({48, control, u"Tab"_qs}); });
    other.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, (QList<Press>{{HotkeyAction::copyLink, true}, {HotkeyAction::lastTab}}));
    EXPECT_EQ(pressThreads, (QList<QThread*>{QThread::currentThread(), QThread::currentThread()}));
}

TEST_F(HotkeysTest, UnknownIdsAndMissingCallbackDoNothing) {
    for (quint32 id : {0u, Hotkeys::idOf({HotkeyAction::newTab, true}), HotkeyRecording::trialId})
        registrar.deliver(id);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());

    hotkeys->onPress = nullptr;
    registrar.deliver(Hotkeys::idOf({HotkeyAction::newTab}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
}

TEST_F(HotkeysTest, DestructionReleasesKeysAndDropsQueuedPresses) {
    hotkeys->registerKeys();
    registrar.deliver(Hotkeys::idOf({HotkeyAction::newTab}));
    hotkeys.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_FALSE(registrar.hasPressHandler());
}

} // namespace
} // namespace kivaro
