#include "platform/linux/X11Keys.h"

#include "keys/HotkeyCombo.h"
#include "platform/KeyCombo.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

// X11's values, written out so that the test does not include the X headers.
constexpr unsigned int shiftMask = 1 << 0;
constexpr unsigned int controlMask = 1 << 2;
constexpr unsigned int mod1Mask = 1 << 3;
constexpr unsigned int mod4Mask = 1 << 6;

TEST(X11KeysTest, VirtualKeyCodesOfTheDefaultsAndNamedKeys) {
    EXPECT_EQ(X11Keys::keysym(17), 0x74ul);    // t
    EXPECT_EQ(X11Keys::keysym(37), 0x6cul);    // l
    EXPECT_EQ(X11Keys::keysym(8), 0x63ul);     // c
    EXPECT_EQ(X11Keys::keysym(35), 0x70ul);    // p
    EXPECT_EQ(X11Keys::keysym(48), 0xff09ul);  // Tab
    EXPECT_EQ(X11Keys::keysym(0), 0x61ul);     // a: code 0 is a real key
    EXPECT_EQ(X11Keys::keysym(36), 0xff0dul);  // Return
    EXPECT_EQ(X11Keys::keysym(49), 0x20ul);    // space
    EXPECT_EQ(X11Keys::keysym(122), 0xffbeul); // F1
    EXPECT_EQ(X11Keys::keysym(111), 0xffc9ul); // F12
    EXPECT_EQ(X11Keys::keysym(123), 0xff51ul); // Left
    EXPECT_EQ(X11Keys::keysym(116), 0xff55ul); // Page Up
    // Codes with no key on a PC keyboard, and nonsense.
    EXPECT_EQ(X11Keys::keysym(10), 0ul);
    EXPECT_EQ(X11Keys::keysym(52), 0ul);
    EXPECT_EQ(X11Keys::keysym(127), 0ul);
    EXPECT_EQ(X11Keys::keysym(0xFFFFFFFF), 0ul);
}

TEST(X11KeysTest, ModifiersMapCommandToControlAndControlToSuper) {
    using namespace HotkeyModifier;
    EXPECT_EQ(X11Keys::modifierMask(command), controlMask);
    EXPECT_EQ(X11Keys::modifierMask(control), mod4Mask);
    EXPECT_EQ(X11Keys::modifierMask(option), mod1Mask);
    EXPECT_EQ(X11Keys::modifierMask(shift), shiftMask);
    EXPECT_EQ(X11Keys::modifierMask(command | shift | option | control),
              controlMask | mod4Mask | mod1Mask | shiftMask);
    EXPECT_EQ(X11Keys::modifierMask(0x1 | 0x400 | 0x80000000), 0u);
    EXPECT_EQ(X11Keys::significantModifiers(), controlMask | mod4Mask | mod1Mask | shiftMask);
}

TEST(X11KeysTest, KeysymsOfAKeyPressBecomeVirtualKeyCodes) {
    EXPECT_EQ(X11Keys::virtualKeyCode(0x74), 17u);    // t
    EXPECT_EQ(X11Keys::virtualKeyCode(0x54), 17u);    // T, with Shift
    EXPECT_EQ(X11Keys::virtualKeyCode(0x61), 0u);     // a
    EXPECT_EQ(X11Keys::virtualKeyCode(0x21), 18u);    // ! is Shift+1
    EXPECT_EQ(X11Keys::virtualKeyCode(0x3f), 44u);    // ? is Shift+/
    EXPECT_EQ(X11Keys::virtualKeyCode(0xfe20), 48u);  // Shift+Tab
    EXPECT_EQ(X11Keys::virtualKeyCode(0xff1b), 53u);  // Escape
    EXPECT_EQ(X11Keys::virtualKeyCode(0xffc9), 111u); // F12
    EXPECT_EQ(X11Keys::virtualKeyCode(0), std::nullopt);
    EXPECT_EQ(X11Keys::virtualKeyCode(0xe9), std::nullopt);   // é: not on a US keyboard
    EXPECT_EQ(X11Keys::virtualKeyCode(0xffe3), std::nullopt); // Control_L alone
    // Every key of the table comes back to its own code.
    for (quint32 code = 0; code < 128; ++code) {
        if (const unsigned long symbol = X11Keys::keysym(code)) {
            EXPECT_EQ(X11Keys::virtualKeyCode(symbol), code) << code;
        }
    }
}

TEST(X11KeysTest, ModifierStatesBecomeEventFlagsAndBack) {
    using namespace HotkeyModifier;
    const unsigned int all = controlMask | mod4Mask | mod1Mask | shiftMask;
    const quint64 flags = X11Keys::eventModifierFlags(all | 0x2 /* lock */ | 0x10 /* num lock */);
    EXPECT_EQ(flags, EventModifier::command | EventModifier::control | EventModifier::option |
                         EventModifier::shift);
    EXPECT_EQ(X11Keys::eventModifierFlags(controlMask), EventModifier::command);
    EXPECT_EQ(X11Keys::eventModifierFlags(mod4Mask), EventModifier::control);
}

TEST(X11KeysTest, KeyPressesBecomeTheBindingsThatRegisterThemAgain) {
    using namespace HotkeyModifier;
    // Ctrl+Shift+C reports the keysym C.
    const auto event = X11Keys::keyEvent(0x43, controlMask | shiftMask | 0x2 /* lock */);
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, (KeyEvent{8, u"c"_qs, EventModifier::command | EventModifier::shift}));
    const HotkeyCombo combo = HotkeyCombo::fromEvent(*event);
    EXPECT_EQ(combo, (HotkeyCombo{8, command | shift, u"C"_qs}));
    EXPECT_EQ(X11Keys::keysym(combo.keyCode), 0x63ul);
    EXPECT_EQ(X11Keys::modifierMask(combo.modifiers), controlMask | shiftMask);

    // Shift+Alt+1 reports "!"; the key is still 1.
    EXPECT_EQ(X11Keys::keyEvent(0x21, shiftMask | mod1Mask),
              (KeyEvent{18, u"1"_qs, EventModifier::shift | EventModifier::option}));
    EXPECT_EQ(X11Keys::keyEvent(0xffb7, controlMask),
              (KeyEvent{89, u"7"_qs, EventModifier::command}));
    // Named keys carry no characters; their name comes from the key-name table.
    const auto tab = X11Keys::keyEvent(0xff09, mod4Mask);
    ASSERT_TRUE(tab);
    EXPECT_EQ(HotkeyCombo::fromEvent(*tab), (HotkeyCombo{48, control, u"Tab"_qs}));
    // Escape without modifiers cancels a recording.
    EXPECT_EQ(X11Keys::keyEvent(0xff1b, 0), (KeyEvent{53, QString(), 0}));
    EXPECT_EQ(X11Keys::keyEvent(0xe9, controlMask), std::nullopt);
    EXPECT_EQ(X11Keys::keyEvent(0xffe3, controlMask), std::nullopt);
}

} // namespace
} // namespace kivaro
