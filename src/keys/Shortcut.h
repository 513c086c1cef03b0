#pragma once

#include "platform/KeyCombo.h"

namespace kivaro {

// The fixed in-window shortcuts.
namespace Shortcut {

// ⌘K: opens the action menu of the selected result.
KeyCombo actions();

} // namespace Shortcut

} // namespace kivaro
