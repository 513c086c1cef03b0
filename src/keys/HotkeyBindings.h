#pragma once

#include "keys/Binding.h"

#include <optional>

namespace kivaro {

// Where the hot-key bindings are kept (the settings), as the hot keys and the recorder use it.
class HotkeyBindings {
public:
    virtual ~HotkeyBindings() = default;

    // Whether the action's hot key is switched on.
    virtual bool shortcutEnabled(HotkeyAction action) const = 0;
    // The action's binding: the stored one, else the default.
    virtual KeyCombo combo(HotkeyAction action) const = 0;
    // Stores a binding; nothing, or the default itself, brings the default back.
    virtual void setCombo(const std::optional<KeyCombo>& combo, HotkeyAction action) = 0;

    // Every action's binding, in allCases() order.
    ActionCombos combos() const;
};

} // namespace kivaro
