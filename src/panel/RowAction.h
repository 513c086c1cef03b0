#pragma once

#include "platform/KeyCombo.h"

#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

// One thing a result row offers: its line in the action bar, the ⌘K menu and the context
// menu, and the key that runs it while the panel is open. Glyphs for the key come from
// KeyCaps::of(shortcut), so Linux shows "Ctrl+Shift+C" where the Mac shows ⇧⌘C.
struct RowAction {
    QString title;
    // A system-symbol name; the icon set maps it.
    QString symbol;
    std::optional<KeyCombo> shortcut;
    // Destructive (close, remove): drawn in red and listed last.
    bool danger = false;
    std::function<void()> run;
};

} // namespace kivaro
