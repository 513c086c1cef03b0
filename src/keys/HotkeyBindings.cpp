#include "keys/HotkeyBindings.h"

namespace kivaro {

ActionCombos HotkeyBindings::combos() const {
    ActionCombos combos;
    for (HotkeyAction action : HotkeyAction::allCases())
        combos.insert(action, combo(action));
    return combos;
}

} // namespace kivaro
