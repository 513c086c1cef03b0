#include "keys/Shortcut.h"

#include "platform/KeyCombo.h"

namespace kivaro {

Shortcut Shortcut::actions() {
    return {40, EventModifier::command, {QStringLiteral("⌘"), QStringLiteral("K")}};
}

} // namespace kivaro
