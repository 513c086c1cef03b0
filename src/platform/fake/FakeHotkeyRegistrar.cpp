#include "platform/fake/FakeHotkeyRegistrar.h"

namespace kivaro {

bool FakeHotkeyRegistrar::heldByUs(const Binding& binding) const {
    for (const Binding& held : active_) {
        if (held.keyCode == binding.keyCode && held.modifiers == binding.modifiers)
            return true;
    }
    return false;
}

std::optional<HotkeyRegistrar::Ref> FakeHotkeyRegistrar::registerHotkey(const Binding& binding,
                                                                        bool exclusive) {
    const bool refused = elsewhere_.contains(qMakePair(binding.keyCode, binding.modifiers)) ||
                         (exclusive && heldByUs(binding));
    calls_.append({binding, exclusive, !refused});
    if (refused)
        return std::nullopt;
    const Ref ref = next_++;
    active_.insert(ref, binding);
    return ref;
}

void FakeHotkeyRegistrar::unregisterHotkey(Ref ref) {
    if (active_.remove(ref) > 0)
        released_.append(ref);
}

void FakeHotkeyRegistrar::setPressHandler(PressHandler handler) {
    handler_ = std::move(handler);
}

void FakeHotkeyRegistrar::takeElsewhere(quint32 keyCode, quint32 modifiers) {
    elsewhere_.append(qMakePair(keyCode, modifiers));
}

bool FakeHotkeyRegistrar::press(quint32 keyCode, quint32 modifiers) {
    for (const Binding& held : std::as_const(active_)) {
        if (held.keyCode == keyCode && held.modifiers == modifiers) {
            deliver(held.id);
            return true;
        }
    }
    return false;
}

void FakeHotkeyRegistrar::deliver(quint32 id) {
    if (handler_)
        handler_(id);
}

QList<HotkeyRegistrar::Binding> FakeHotkeyRegistrar::active() const {
    return active_.values();
}

} // namespace kivaro
