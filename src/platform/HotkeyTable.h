#pragma once

#include "platform/HotkeyRegistrar.h"
#include "platform/KeyCombo.h"

#include <QList>
#include <QMap>

#include <optional>

namespace kivaro {

// The bookkeeping of a hot-key adapter whose system registers each combination once and
// reports a press by a number of our choosing (Carbon's hot keys): which registrations share
// a system registration, which number it reports, and whom a press is for.
class HotkeyTable {
public:
    using Ref = HotkeyRegistrar::Ref;

    // A combination as the system takes it: the virtual key code and Carbon's modifier masks
    // (the values Modifier already has).
    struct Keys {
        quint32 keyCode = 0;
        quint32 modifiers = 0;

        auto operator<=>(const Keys&) const = default;
    };

    // What registering asks of the system.
    enum class Claim {
        refused,     // no key code, or held by us and wanted exclusively
        shared,      // held by us already: no system call
        needsSystem, // register with the system under nextSlot()
    };

    // The signature every press reports, "KVRO".
    static const quint32 signature;

    static std::optional<Keys> keysOf(const KeyCombo& combo);

    Claim claim(const std::optional<Keys>& keys, bool exclusive) const;
    // The number the next system registration reports its presses under (never 0).
    quint32 nextSlot() const { return nextSlot_; }

    // Records a registration; `systemHandle` is what the system gave for a new registration
    // (ignored when the keys are already held).
    Ref add(const Keys& keys, quint32 id, quintptr systemHandle);
    // Forgets a registration; the system handle to release when it was the last holder.
    std::optional<quintptr> remove(Ref ref);
    // Every system handle held, for the adapter's destructor.
    QList<quintptr> systemHandles() const;

    // The ids a press reported as (signature, slot) is for, in registration order; none for
    // another program's signature or a slot no longer held.
    QList<quint32> idsFor(quint32 pressSignature, quint32 slot) const;

private:
    struct System {
        quint32 slot = 0;
        quintptr handle = 0;
        QList<Ref> holders;
    };
    struct Registration {
        Keys keys;
        quint32 id = 0;
    };

    QMap<Keys, System> systems_;
    QMap<Ref, Registration> registrations_;
    Ref nextRef_ = 1;
    quint32 nextSlot_ = 1;
};

} // namespace kivaro
