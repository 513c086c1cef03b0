#pragma once

#include "platform/KeyCombo.h"

#include <QtGlobal>

#include <functional>
#include <optional>

namespace kivaro {

// System-wide hot keys. Each adapter translates the key combination (Mac virtual key code
// and modifiers) to its platform's keys.
class HotkeyRegistrar {
public:
    // Identifies one registration until it is released.
    using Ref = quint64;

    // Called with a registration's id for each press. Adapters call it on the thread that runs
    // their event source (the main thread for the X11 and Carbon adapters).
    using PressHandler = std::function<void(quint32 id)>;

    virtual ~HotkeyRegistrar() = default;

    // Registers `keys`, to be reported as `id` on every press. Nothing when the key cannot be
    // had: without a key code, unknown to this keyboard, reserved, or held by another program.
    // An exclusive registration also fails while this program itself already holds the same
    // keys.
    virtual std::optional<Ref> registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) = 0;

    // Releases one registration; an unknown or already released reference is ignored.
    virtual void unregisterHotkey(Ref ref) = 0;

    // One handler for all presses; an empty function stops the delivery.
    virtual void setPressHandler(PressHandler handler) = 0;
};

} // namespace kivaro
