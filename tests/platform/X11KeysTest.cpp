#include "platform/linux/X11Keys.h"

#include "support/KeyComboPrinter.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using enum Modifier;

// X11's values, written out so that the test does not include the X headers.
constexpr unsigned int shiftMask = 1 << 0;
constexpr unsigned int lockMask = 1 << 1;
constexpr unsigned int controlMask = 1 << 2;
constexpr unsigned int mod1Mask = 1 << 3;
constexpr unsigned int mod2Mask = 1 << 4; // Num Lock
constexpr unsigned int mod4Mask = 1 << 6;

TEST(X11KeysTest, ModifiersMapCommandToControlAndControlToSuper) {
    const struct {
        Modifiers modifiers;
        unsigned int mask;
    } pairs[] = {
        {command, controlMask},
        {control, mod4Mask},
        {option, mod1Mask},
        {shift, shiftMask},
        {allModifiers, controlMask | mod4Mask | mod1Mask | shiftMask},
    };
    for (const auto& [modifiers, mask] : pairs) {
        EXPECT_EQ(X11Keys::modifierMask(modifiers), mask);
        // Lock states are no modifiers.
        EXPECT_EQ(X11Keys::modifiers(mask | lockMask | mod2Mask), modifiers);
    }
    EXPECT_EQ(X11Keys::modifierMask(Modifiers::fromInt(0x1 | 0x400 | 0x80000000)), 0u);
    EXPECT_EQ(X11Keys::significantModifiers(), controlMask | mod4Mask | mod1Mask | shiftMask);
}

TEST(X11KeysTest, KeysymsOfAKeyPressBecomeVirtualKeyCodes) {
    EXPECT_EQ(X11Keys::virtualKeyCode(0x54), 17u);   // T, with Shift
    EXPECT_EQ(X11Keys::virtualKeyCode(0x21), 18u);   // ! is Shift+1
    EXPECT_EQ(X11Keys::virtualKeyCode(0x3f), 44u);   // ? is Shift+/
    EXPECT_EQ(X11Keys::virtualKeyCode(0xfe20), 48u); // Shift+Tab
    EXPECT_EQ(X11Keys::virtualKeyCode(0), std::nullopt);
    EXPECT_EQ(X11Keys::virtualKeyCode(0xe9), std::nullopt);   // é: not on a US keyboard
    EXPECT_EQ(X11Keys::virtualKeyCode(0xffe3), std::nullopt); // Control_L alone
    // Every key of the table comes back to its own code; code 0 (A) is a real key.
    int keys = 0;
    for (quint32 code = 0; code < 128; ++code) {
        if (const unsigned long symbol = X11Keys::keysym(code)) {
            EXPECT_EQ(X11Keys::virtualKeyCode(symbol), code) << code;
            ++keys;
        }
    }
    EXPECT_GT(keys, 90);
    // A few by name: the letter a, Tab, Return, F1.
    const std::pair<quint32, unsigned long> named[] = {
        {VirtualKey::a, 0x61}, {VirtualKey::tab, 0xff09}, {36, 0xff0d}, {122, 0xffbe}};
    for (const auto& [code, keysym] : named)
        EXPECT_EQ(X11Keys::keysym(code), keysym) << code;
    for (const quint32 nonsense : {10u, 127u, 0xFFFFFFFFu})
        EXPECT_EQ(X11Keys::keysym(nonsense), 0u) << nonsense;
}

TEST(X11KeysTest, KeyPressesCarryTheUnmodifiedCharacters) {
    const struct {
        unsigned long keysym;
        unsigned int state;
        KeyCombo pressed;
    } presses[] = {
        // Ctrl+Shift+C reports the keysym C.
        {0x43, controlMask | shiftMask | lockMask, {8, command | shift, u"c"_qs}},
        // Shift+Alt+1 reports "!"; the key is still 1.
        {0x21, shiftMask | mod1Mask, {18, shift | option, u"1"_qs}},
        {0xffb7, controlMask, {89, command, u"7"_qs}}, // keypad 7
        // Named keys carry no characters.
        {0xff09, mod4Mask, {48, control, QString()}},
        {0xff1b, 0, {53, {}, QString()}},
    };
    for (const auto& [keysym, state, pressed] : presses)
        EXPECT_EQ(X11Keys::keyPress(keysym, state), pressed) << keysym;
    EXPECT_EQ(X11Keys::keyPress(0xe9, controlMask), std::nullopt);
    EXPECT_EQ(X11Keys::keyPress(0xffe3, controlMask), std::nullopt);
}

} // namespace
} // namespace kivaro
