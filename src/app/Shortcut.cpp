#include "app/Shortcut.h"

#include "app/KeyCombo.h"

namespace kivaro {

Shortcut Shortcut::actions() {
    return {40, EventModifier::command, {QStringLiteral("⌘"), QStringLiteral("K")}};
}

} // namespace kivaro
