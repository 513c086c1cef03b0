#pragma once

#include "platform/KeyCombo.h"

#include <QtGlobal>

#include <optional>

namespace kivaro {

// Translation between key combinations (Mac virtual key codes, Modifier flags) and X11.
namespace X11Keys {

// The X keysym of a virtual key code of the ANSI keyboard; 0 for a code with no X key.
unsigned long keysym(quint32 virtualKeyCode);

// The virtual key code of the key that gives `keysym` on a US layout, with or without
// Shift (XK_C and XK_exclam find the keys of c and 1); nothing for other keysyms. This is
// how a key press seen on Linux becomes a stored binding.
std::optional<quint32> virtualKeyCode(unsigned long keysym);

// The modifiers of an X modifier state, the reverse of modifierMask; lock states are dropped.
Modifiers modifiers(unsigned int x11State);

// A key press as X (and Qt's nativeVirtualKey / nativeModifiers on X11) reports it: the
// keysym and the modifier state. Its key is the characters of the key without modifiers,
// as a Mac key event gives them. Nothing for a key that no binding can name.
std::optional<KeyCombo> keyPress(unsigned long keysym, unsigned int x11State);

// X modifier masks: command is Control, control is Super (Mod4), option is Alt (Mod1),
// shift is Shift, matching how the bindings are shown on Linux (keys/KeyCaps.h).
unsigned int modifierMask(Modifiers held);

// The modifier bits that tell hot keys apart; lock states (Caps Lock, Num Lock) are not.
unsigned int significantModifiers();

} // namespace X11Keys

} // namespace kivaro
