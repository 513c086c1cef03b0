#pragma once

#include <QtGlobal>

namespace kivaro {

// Translation of stored bindings (Mac virtual key codes, Carbon modifier masks) to X11.
namespace X11Keys {

// The X keysym of a virtual key code of the ANSI keyboard; 0 for a code with no X key.
unsigned long keysym(quint32 virtualKeyCode);

// X modifier masks: command is Control, control is Super (Mod4), option is Alt (Mod1),
// shift is Shift, matching how the bindings are shown on Linux (app/KeyCaps.h).
unsigned int modifierMask(quint32 hotkeyModifiers);

// The modifier bits that tell hot keys apart; lock states (Caps Lock, Num Lock) are not.
unsigned int significantModifiers();

} // namespace X11Keys

} // namespace kivaro
