#include "keys/Hotkeys.h"

#include "platform/fake/FakeHotkeyRegistrar.h"
#include "settings/Preferences.h"
#include "support/TestSettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace kivaro {
namespace {

using namespace HotkeyModifier;
using Binding = HotkeyRegistrar::Binding;
using Key = Hotkeys::Key;

class HotkeysTest : public ::testing::Test {
protected:
    HotkeysTest()
        : preferences(testing::settingsFile(testing::StoreKind::ini,
                                            folder.filePath(QStringLiteral("settings.conf")))) {
        hotkeys = std::make_unique<Hotkeys>(registrar, preferences);
        hotkeys->onPress = [this](Key key) {
            pressed.append(key);
            pressThreads.append(QThread::currentThread());
        };
    }

    void disable(HotkeyAction action) { preferences.store(action.enableFlag(), false); }

    QTemporaryDir folder;
    FakeHotkeyRegistrar registrar;
    Preferences preferences;
    std::unique_ptr<Hotkeys> hotkeys;
    QList<Key> pressed;
    QList<QThread*> pressThreads;
};

TEST_F(HotkeysTest, KeyNumbering) {
    EXPECT_EQ(Hotkeys::keyFromRaw(1), Key::newTab);
    EXPECT_EQ(Hotkeys::keyFromRaw(4), Key::copyMarkdown);
    EXPECT_EQ(Hotkeys::keyFromRaw(6), Key::lastTab);
    EXPECT_EQ(Hotkeys::keyFromRaw(0), std::nullopt);
    EXPECT_EQ(Hotkeys::keyFromRaw(7), std::nullopt);
    EXPECT_EQ(Hotkeys::keyFromRaw(99), std::nullopt);
    EXPECT_EQ(Hotkeys::keyFromRaw(0xFFFFFFFF), std::nullopt);
}

TEST_F(HotkeysTest, RegistersTheDefaultsWithTheMarkdownVariant) {
    hotkeys->registerKeys();
    const QList<Binding> expected{
        {17, command, 1},         {37, command, 2},
        {8, shift | command, 3},  {8, option | shift | command, 4},
        {35, shift | command, 5}, {48, control, 6},
    };
    EXPECT_EQ(registrar.active(), expected);
    EXPECT_EQ(hotkeys->refs().size(), 6);
    for (const auto& call : registrar.calls())
        EXPECT_FALSE(call.exclusive);
}

TEST_F(HotkeysTest, RegisterIsIdempotentWhileRegistered) {
    hotkeys->registerKeys();
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.calls().size(), 6);
    EXPECT_EQ(registrar.active().size(), 6);
}

TEST_F(HotkeysTest, DisabledFlagsRegisterNothingAndALaterRegisterTriesAgain) {
    for (HotkeyAction action : HotkeyAction::allCases())
        disable(action);
    hotkeys->registerKeys();
    EXPECT_TRUE(registrar.calls().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());

    preferences.store(HotkeyAction(HotkeyAction::pin).enableFlag(), true);
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.active(), (QList<Binding>{{35, shift | command, 5}}));
}

TEST_F(HotkeysTest, CopyLinkFlagControlsBothCopyKeysAndOptionBindingsGetNoVariant) {
    disable(HotkeyAction::copyLink);
    hotkeys->registerKeys();
    for (const Binding& binding : registrar.active()) {
        EXPECT_NE(binding.id, 3u);
        EXPECT_NE(binding.id, 4u);
    }
    hotkeys->unregisterKeys();

    preferences.store(HotkeyAction(HotkeyAction::copyLink).enableFlag(), true);
    preferences.setCombo(HotkeyCombo{8, option | command, u"C"_qs}, HotkeyAction::copyLink);
    hotkeys->registerKeys();
    QList<quint32> ids;
    for (const Binding& binding : registrar.active())
        ids.append(binding.id);
    EXPECT_EQ(ids, (QList<quint32>{1, 2, 3, 5, 6}));
}

TEST_F(HotkeysTest, ARefusedBindingIsSkippedAndTheOthersStillRegister) {
    registrar.takeElsewhere(17, command);
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.calls().size(), 6);
    EXPECT_EQ(hotkeys->refs().size(), 5);
    EXPECT_FALSE(registrar.press(17, command));
}

TEST_F(HotkeysTest, UnregisterReleasesInOrderAndReRegisterReadsNewBindings) {
    hotkeys->registerKeys();
    const QList<HotkeyRegistrar::Ref> refs = hotkeys->refs();
    hotkeys->unregisterKeys();
    EXPECT_EQ(registrar.released(), refs);
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());
    hotkeys->unregisterKeys();
    EXPECT_EQ(registrar.released(), refs);
    EXPECT_TRUE(registrar.hasPressHandler());

    preferences.setCombo(HotkeyCombo{45, control | command, u"N"_qs}, HotkeyAction::newTab);
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.active().constFirst(), (Binding{45, control | command, 1}));
}

TEST_F(HotkeysTest, PressesArriveOnTheMainThreadAfterTheCallback) {
    hotkeys->registerKeys();
    ASSERT_TRUE(registrar.press(8, option | shift | command));
    EXPECT_TRUE(pressed.isEmpty()) << "delivered inside the platform callback";
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, QList<Key>{Key::copyMarkdown});

    std::thread other([this] { registrar.press(48, control); });
    other.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, (QList<Key>{Key::copyMarkdown, Key::lastTab}));
    EXPECT_EQ(pressThreads, (QList<QThread*>{QThread::currentThread(), QThread::currentThread()}));
}

TEST_F(HotkeysTest, UnknownIdsAndMissingCallbackDoNothing) {
    registrar.deliver(0);
    registrar.deliver(7);
    registrar.deliver(99);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());

    hotkeys->onPress = nullptr;
    registrar.deliver(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
}

TEST_F(HotkeysTest, DestructionReleasesKeysAndDropsQueuedPresses) {
    hotkeys->registerKeys();
    registrar.deliver(1);
    hotkeys.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_FALSE(registrar.hasPressHandler());
}

} // namespace
} // namespace kivaro
