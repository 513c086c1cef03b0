#include "platform/HotkeyTable.h"

#include "platform/FourCharCode.h"

namespace kivaro {

const quint32 HotkeyTable::signature = fourCharCode("KVRO");

std::optional<HotkeyTable::Keys> HotkeyTable::keysOf(const KeyCombo& combo) {
    if (!combo.keyCode)
        return std::nullopt;
    return Keys{*combo.keyCode, quint32((combo.modifiers & allModifiers).toInt())};
}

HotkeyTable::Claim HotkeyTable::claim(const std::optional<Keys>& keys, bool exclusive) const {
    if (!keys)
        return Claim::refused;
    if (!systems_.contains(*keys))
        return Claim::needsSystem;
    return exclusive ? Claim::refused : Claim::shared;
}

HotkeyTable::Ref HotkeyTable::add(const Keys& keys, quint32 id, quintptr systemHandle) {
    const Ref ref = nextRef_++;
    auto system = systems_.find(keys);
    if (system == systems_.end())
        system = systems_.insert(keys, System{.slot = nextSlot_++, .handle = systemHandle});
    system->holders.append(ref);
    registrations_.insert(ref, {keys, id});
    return ref;
}

std::optional<quintptr> HotkeyTable::remove(Ref ref) {
    const auto found = registrations_.constFind(ref);
    if (found == registrations_.cend())
        return std::nullopt;
    const Keys keys = found->keys;
    registrations_.erase(found);
    System& system = systems_[keys];
    system.holders.removeAll(ref);
    if (!system.holders.isEmpty())
        return std::nullopt;
    const quintptr handle = system.handle;
    systems_.remove(keys);
    return handle;
}

QList<quintptr> HotkeyTable::systemHandles() const {
    QList<quintptr> handles;
    for (const System& system : systems_)
        handles.append(system.handle);
    return handles;
}

QList<quint32> HotkeyTable::idsFor(quint32 pressSignature, quint32 slot) const {
    if (pressSignature != signature)
        return {};
    for (const System& system : systems_) {
        if (system.slot != slot)
            continue;
        QList<quint32> ids;
        for (Ref ref : system.holders)
            ids.append(registrations_.value(ref).id);
        return ids;
    }
    return {};
}

} // namespace kivaro
