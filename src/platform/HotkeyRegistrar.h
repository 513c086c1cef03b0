#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

namespace kivaro {

// System-wide hot keys. Bindings are given as the stored virtual key code and modifier
// masks (app/HotkeyCombo.h); each adapter translates them to its platform's keys.
class HotkeyRegistrar {
public:
    struct Binding {
        quint32 keyCode = 0;
        quint32 modifiers = 0; // HotkeyModifier masks
        quint32 id = 0;        // reported back on every press

        bool operator==(const Binding&) const = default;
    };

    // Identifies one registration until it is released.
    using Ref = quint64;

    // Called with a binding's id for each press. Adapters call it on the thread that runs
    // their event source (the main thread for the X11 and Carbon adapters).
    using PressHandler = std::function<void(quint32 id)>;

    virtual ~HotkeyRegistrar() = default;

    // Nothing when the key cannot be had: unknown to this keyboard, reserved, or held by
    // another program. An exclusive registration also fails while this program itself
    // already holds the same keys.
    virtual std::optional<Ref> registerHotkey(const Binding& binding, bool exclusive) = 0;

    // Releases one registration; an unknown or already released reference is ignored.
    virtual void unregisterHotkey(Ref ref) = 0;

    // One handler for all presses; an empty function stops the delivery.
    virtual void setPressHandler(PressHandler handler) = 0;
};

} // namespace kivaro
