#pragma once

#include "platform/KeyCombo.h"

#include <ostream>

namespace kivaro {

// Readable failure messages for key combinations: "{17, 0x100, T}".
inline void PrintTo(Modifiers modifiers, std::ostream* out) {
    *out << "0x" << std::hex << modifiers.toInt() << std::dec;
}

inline void PrintTo(const KeyCombo& combo, std::ostream* out) {
    *out << '{';
    if (combo.keyCode)
        *out << *combo.keyCode << ", ";
    PrintTo(combo.modifiers, out);
    *out << ", " << combo.key.toStdString() << '}';
}

} // namespace kivaro
