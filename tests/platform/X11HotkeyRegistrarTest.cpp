#include "platform/linux/X11HotkeyRegistrar.h"

#include "XvfbServer.h"
#include "keys/HotkeyCombo.h"
#include "keys/Hotkeys.h"
#include "settings/Preferences.h"
#include "support/TestSettings.h"
#include "support/X11TestClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using namespace HotkeyModifier;
using Binding = HotkeyRegistrar::Binding;

constexpr quint32 keyT = 17;
constexpr quint32 keyC = 8;

// Runs the event loop until `done` holds or a generous bound passes (a lost event must
// fail the test, not hang it).
bool runUntil(const std::function<bool()>& done) {
    QTimer wake;
    wake.start(10);
    const QDeadlineTimer limit(20000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

class X11HotkeyRegistrarTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        requireServer();
        if (IsSkipped() || HasFatalFailure())
            return;
        registrar = std::make_unique<X11HotkeyRegistrar>(display());
        ASSERT_TRUE(registrar->isConnected());
        registrar->setPressHandler([this](quint32 id) { presses.append(id); });
        keyboard = std::make_unique<X11TestClient>(display());
        ASSERT_TRUE(keyboard->isConnected());
    }

    // A second program on the same display.
    std::unique_ptr<X11HotkeyRegistrar> otherProgram() const {
        return std::make_unique<X11HotkeyRegistrar>(display());
    }

    bool typeAndWait(quint32 keyCode, quint32 modifiers, qsizetype expectedPresses) {
        return keyboard->type(keyCode, modifiers) &&
               runUntil([&] { return presses.size() >= expectedPresses; });
    }

    std::unique_ptr<X11HotkeyRegistrar> registrar;
    std::unique_ptr<X11TestClient> keyboard;
    QList<quint32> presses;
};

TEST_F(X11HotkeyRegistrarTest, AGrabbedKeyPressedByAnotherClientIsDelivered) {
    const auto ref = registrar->registerHotkey({keyT, command, 1}, false);
    ASSERT_TRUE(ref);
    ASSERT_TRUE(typeAndWait(keyT, command, 1));
    EXPECT_EQ(presses, QList<quint32>{1});

    const auto markdown = registrar->registerHotkey({keyC, option | shift | command, 4}, false);
    ASSERT_TRUE(markdown);
    ASSERT_TRUE(typeAndWait(keyC, option | shift | command, 2));
    EXPECT_EQ(presses, (QList<quint32>{1, 4}));
}

TEST_F(X11HotkeyRegistrarTest, AHeldKeyFiresOncePerPress) {
    ASSERT_TRUE(registrar->registerHotkey({keyT, command, 1}, false));
    ASSERT_TRUE(registrar->registerHotkey({keyC, command, 3}, false));
    ASSERT_TRUE(keyboard->hold(keyT, command, 5));
    // A later press of another key proves the repeats before it have been read.
    ASSERT_TRUE(typeAndWait(keyC, command, 2));
    EXPECT_EQ(presses, (QList<quint32>{1, 3}));
    ASSERT_TRUE(typeAndWait(keyT, command, 3));
    EXPECT_EQ(presses, (QList<quint32>{1, 3, 1}));
}

TEST_F(X11HotkeyRegistrarTest, CapsLockAndNumLockDoNotStopAHotKey) {
    ASSERT_TRUE(registrar->registerHotkey({keyT, command, 1}, false));
    ASSERT_TRUE(keyboard->toggleCapsLock());
    ASSERT_TRUE(typeAndWait(keyT, command, 1));
    ASSERT_TRUE(keyboard->toggleNumLock());
    ASSERT_TRUE(typeAndWait(keyT, command, 2));
    ASSERT_TRUE(keyboard->toggleCapsLock());
    ASSERT_TRUE(typeAndWait(keyT, command, 3));
    ASSERT_TRUE(keyboard->toggleNumLock());
    EXPECT_EQ(presses, (QList<quint32>{1, 1, 1}));
}

TEST_F(X11HotkeyRegistrarTest, AKeyAnotherProgramHoldsCannotBeRegisteredUntilReleased) {
    const auto ours = registrar->registerHotkey({keyT, command, 1}, false);
    ASSERT_TRUE(ours);

    auto other = otherProgram();
    ASSERT_TRUE(other->isConnected());
    EXPECT_EQ(other->registerHotkey({keyT, command, 1}, false), std::nullopt);
    // The refused program holds none of the lock variants either: after we let go, it can
    // take the key, and a keyboard press reaches it instead of us.
    registrar->unregisterHotkey(*ours);
    QList<quint32> otherPresses;
    other->setPressHandler([&](quint32 id) { otherPresses.append(id); });
    ASSERT_TRUE(other->registerHotkey({keyT, command, 7}, false));
    ASSERT_TRUE(keyboard->type(keyT, command));
    ASSERT_TRUE(runUntil([&] { return !otherPresses.isEmpty(); }));
    EXPECT_EQ(otherPresses, QList<quint32>{7});
    EXPECT_TRUE(presses.isEmpty());
}

TEST_F(X11HotkeyRegistrarTest, AGrabOfAnyOtherClientRefusesTheRegistration) {
    ASSERT_TRUE(keyboard->grab(keyC, control));
    EXPECT_EQ(registrar->registerHotkey({keyC, control, 6}, false), std::nullopt);
    // Other modifiers on the same key are still free.
    EXPECT_TRUE(registrar->registerHotkey({keyC, control | shift, 6}, false));
}

TEST_F(X11HotkeyRegistrarTest, SharedAndExclusiveRegistrationsOfOurOwn) {
    const auto first = registrar->registerHotkey({keyT, command, 1}, false);
    ASSERT_TRUE(first);
    // The trial registration of a recorder is exclusive: it fails while we hold the key.
    EXPECT_EQ(registrar->registerHotkey({keyT, command, 99}, true), std::nullopt);
    const auto second = registrar->registerHotkey({keyT, command, 2}, false);
    ASSERT_TRUE(second);
    ASSERT_TRUE(typeAndWait(keyT, command, 2));
    EXPECT_EQ(presses, (QList<quint32>{1, 2}));

    // Releasing one keeps the grab for the other.
    registrar->unregisterHotkey(*first);
    registrar->unregisterHotkey(*first);
    EXPECT_FALSE(keyboard->grab(keyT, command));
    ASSERT_TRUE(typeAndWait(keyT, command, 3));
    EXPECT_EQ(presses.last(), 2u);

    // Releasing the last one gives the key back to the display.
    registrar->unregisterHotkey(*second);
    EXPECT_TRUE(keyboard->grab(keyT, command));
}

TEST_F(X11HotkeyRegistrarTest, KeysThisKeyboardLacksAreRefused) {
    EXPECT_EQ(registrar->registerHotkey({10, command, 1}, false), std::nullopt);
    EXPECT_EQ(registrar->registerHotkey({999, command, 1}, false), std::nullopt);
    registrar->unregisterHotkey(12345);
}

TEST_F(X11HotkeyRegistrarTest, DestroyingTheRegistrarReleasesItsKeys) {
    ASSERT_TRUE(registrar->registerHotkey({keyT, command, 1}, false));
    ASSERT_TRUE(registrar->registerHotkey({keyC, shift | command, 3}, false));
    registrar.reset();
    EXPECT_TRUE(keyboard->grab(keyT, command));
    EXPECT_TRUE(keyboard->grab(keyC, shift | command));
}

TEST_F(X11HotkeyRegistrarTest, TheConfiguredBindingsBecomeHotKeys) {
    QTemporaryDir folder;
    Preferences preferences(
        testing::settingsFile(testing::StoreKind::ini, folder.filePath(QStringLiteral("p.conf"))));
    preferences.setCombo(HotkeyCombo{35, control | option, u"P"_qs}, HotkeyAction::pin);
    Hotkeys hotkeys(*registrar, preferences);
    QList<Hotkeys::Key> keys;
    hotkeys.onPress = [&](Hotkeys::Key key) { keys.append(key); };
    hotkeys.registerKeys();
    EXPECT_EQ(hotkeys.refs().size(), 6);

    // Ctrl+Shift+C copies a link; with Alt, a Markdown link; Super+Alt+P pins.
    ASSERT_TRUE(keyboard->type(keyC, shift | command));
    ASSERT_TRUE(keyboard->type(keyC, option | shift | command));
    ASSERT_TRUE(keyboard->type(35, control | option));
    ASSERT_TRUE(runUntil([&] { return keys.size() >= 3; }));
    EXPECT_EQ(keys, (QList<Hotkeys::Key>{Hotkeys::Key::copyLink, Hotkeys::Key::copyMarkdown,
                                         Hotkeys::Key::pin}));

    hotkeys.unregisterKeys();
    EXPECT_TRUE(keyboard->grab(keyT, command)) << "unregistering gives the keys back";
}

TEST(X11HotkeyRegistrarWithoutServerTest, NoDisplayMeansEveryRegistrationFails) {
    X11HotkeyRegistrar registrar(QStringLiteral(":65000"));
    EXPECT_FALSE(registrar.isConnected());
    EXPECT_EQ(registrar.registerHotkey({keyT, command, 1}, false), std::nullopt);
    registrar.unregisterHotkey(1);
    registrar.processEvents();
}

} // namespace
} // namespace kivaro
