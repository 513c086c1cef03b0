#include "keys/Shortcut.h"

namespace kivaro {

KeyCombo Shortcut::actions() {
    return {VirtualKey::k, Modifier::command, QStringLiteral("K")};
}

} // namespace kivaro
