#include "platform/linux/X11HotkeyRegistrar.h"

#include "support/WaitUntil.h"
#include "support/X11TestClient.h"
#include "support/XvfbServer.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using enum Modifier;

const KeyCombo commandT{VirtualKey::t, command, u"T"_qs};
const KeyCombo markdown{VirtualKey::c, option | shift | command, u"C"_qs};

class X11HotkeyRegistrarTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        if (!serverReady())
            return;
        registrar = std::make_unique<X11HotkeyRegistrar>(display());
        ASSERT_TRUE(registrar->isConnected());
        registrar->setPressHandler([this](quint32 id) { presses.append(id); });
        keyboard = std::make_unique<X11TestClient>(display());
        ASSERT_TRUE(keyboard->isConnected());
    }

    bool typeAndWait(const KeyCombo& keys, qsizetype expectedPresses) {
        return keyboard->type(keys) &&
               testing::waitUntil([&] { return presses.size() >= expectedPresses; });
    }

    std::unique_ptr<X11HotkeyRegistrar> registrar;
    std::unique_ptr<X11TestClient> keyboard;
    QList<quint32> presses;
};

TEST_F(X11HotkeyRegistrarTest, GrabbedKeysFireOncePerPressWhateverTheLocks) {
    ASSERT_TRUE(registrar->registerHotkey(commandT, 1, false));
    ASSERT_TRUE(registrar->registerHotkey(markdown, 4, false));
    ASSERT_TRUE(typeAndWait(markdown, 1));
    ASSERT_TRUE(keyboard->hold(commandT, 5));
    // A later press of another key proves the repeats before it have been read.
    ASSERT_TRUE(typeAndWait(markdown, 3));
    EXPECT_EQ(presses, (QList<quint32>{4, 1, 4}));
    // Caps Lock on, then Num Lock too, then Caps Lock off again.
    for (const bool caps : {true, false, true}) {
        ASSERT_TRUE(keyboard->toggleLock(caps));
        ASSERT_TRUE(typeAndWait(commandT, presses.size() + 1));
    }
    ASSERT_TRUE(keyboard->toggleLock(false));
    EXPECT_EQ(presses, (QList<quint32>{4, 1, 4, 1, 1, 1}));
}

TEST_F(X11HotkeyRegistrarTest, AKeyAnotherProgramHoldsCannotBeRegisteredUntilReleased) {
    const auto ours = registrar->registerHotkey(commandT, 1, false);
    ASSERT_TRUE(ours);
    X11HotkeyRegistrar other(display());
    EXPECT_EQ(other.registerHotkey(commandT, 1, false), std::nullopt);
    // The refused program holds none of the lock variants either: after we let go, it can
    // take the key, and a keyboard press reaches it instead of us.
    registrar->unregisterHotkey(*ours);
    QList<quint32> otherPresses;
    other.setPressHandler([&](quint32 id) { otherPresses.append(id); });
    ASSERT_TRUE(other.registerHotkey(commandT, 7, false));
    ASSERT_TRUE(keyboard->type(commandT));
    ASSERT_TRUE(testing::waitUntil([&] { return !otherPresses.isEmpty(); }));
    EXPECT_EQ(otherPresses, QList<quint32>{7});
    EXPECT_TRUE(presses.isEmpty());
    // A grab of any other client refuses the registration; other modifiers stay free.
    const KeyCombo controlC{VirtualKey::c, control, u"C"_qs};
    ASSERT_TRUE(keyboard->grab(controlC));
    EXPECT_EQ(registrar->registerHotkey(controlC, 6, false), std::nullopt);
    EXPECT_TRUE(registrar->registerHotkey({VirtualKey::c, control | shift, u"C"_qs}, 6, false));
}

TEST_F(X11HotkeyRegistrarTest, SharedAndExclusiveRegistrationsOfOurOwn) {
    const auto first = registrar->registerHotkey(commandT, 1, false);
    ASSERT_TRUE(first);
    // The trial registration of a recorder is exclusive: it fails while we hold the key.
    EXPECT_EQ(registrar->registerHotkey(commandT, 99, true), std::nullopt);
    const auto second = registrar->registerHotkey(commandT, 2, false);
    ASSERT_TRUE(second);
    ASSERT_TRUE(typeAndWait(commandT, 2));
    EXPECT_EQ(presses, (QList<quint32>{1, 2}));
    // Releasing one (even twice) keeps the grab for the other; the last gives the key back.
    registrar->unregisterHotkey(*first);
    registrar->unregisterHotkey(*first);
    EXPECT_FALSE(keyboard->grab(commandT));
    ASSERT_TRUE(typeAndWait(commandT, 3));
    EXPECT_EQ(presses.last(), 2u);
    registrar->unregisterHotkey(*second);
    EXPECT_TRUE(keyboard->grab(commandT));
}

TEST_F(X11HotkeyRegistrarTest, KeysThisKeyboardLacksAreRefusedAndDestroyingReleasesAll) {
    for (const std::optional<quint32> code : {std::optional<quint32>(10), {999}, {}})
        EXPECT_EQ(registrar->registerHotkey({code, command, u"x"_qs}, 1, false), std::nullopt);
    registrar->unregisterHotkey(12345);
    ASSERT_TRUE(registrar->registerHotkey(commandT, 1, false));
    ASSERT_TRUE(registrar->registerHotkey(markdown, 3, false));
    registrar.reset();
    EXPECT_TRUE(keyboard->grab(commandT));
    EXPECT_TRUE(keyboard->grab(markdown));
}

TEST(X11HotkeyRegistrarWithoutServerTest, NoDisplayMeansEveryRegistrationFails) {
    X11HotkeyRegistrar registrar(u":65000"_s);
    EXPECT_FALSE(registrar.isConnected());
    EXPECT_EQ(registrar.registerHotkey(commandT, 1, false), std::nullopt);
    registrar.unregisterHotkey(1);
    registrar.processEvents();
}

} // namespace
} // namespace kivaro
