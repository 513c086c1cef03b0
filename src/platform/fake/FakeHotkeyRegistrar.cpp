#include "platform/fake/FakeHotkeyRegistrar.h"

namespace kivaro {

bool FakeHotkeyRegistrar::anySameKeys(const QList<KeyCombo>& held, const KeyCombo& keys) {
    for (const KeyCombo& one : held) {
        if (one.sameKeys(keys))
            return true;
    }
    return false;
}

QList<KeyCombo> FakeHotkeyRegistrar::heldByUs() const {
    QList<KeyCombo> keys;
    for (const Held& held : active_)
        keys.append(held.keys);
    return keys;
}

std::optional<HotkeyRegistrar::Ref>
FakeHotkeyRegistrar::registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) {
    const bool refused =
        anySameKeys(elsewhere_, keys) || (exclusive && anySameKeys(heldByUs(), keys));
    calls_.append({{keys, id}, exclusive, !refused});
    if (refused)
        return std::nullopt;
    const Ref ref = next_++;
    active_.insert(ref, {keys, id});
    return ref;
}

void FakeHotkeyRegistrar::unregisterHotkey(Ref ref) {
    if (active_.remove(ref) > 0)
        released_.append(ref);
}

void FakeHotkeyRegistrar::setPressHandler(PressHandler handler) {
    handler_ = std::move(handler);
}

void FakeHotkeyRegistrar::takeElsewhere(const KeyCombo& keys) {
    elsewhere_.append(keys);
}

bool FakeHotkeyRegistrar::press(const KeyCombo& keys) {
    for (const Held& held : std::as_const(active_)) {
        if (held.keys.sameKeys(keys)) {
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

QList<FakeHotkeyRegistrar::Held> FakeHotkeyRegistrar::active() const {
    return active_.values();
}

} // namespace kivaro
