#include "platform/mac/CarbonHotkeyRegistrar.h"

#include <QMetaObject>

#include <Carbon/Carbon.h>

namespace kivaro {

namespace {

OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void* userData) {
    if (!event || !userData)
        return eventNotHandledErr;
    EventHotKeyID hotKey{};
    if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr,
                          sizeof(hotKey), nullptr, &hotKey) != noErr)
        return eventNotHandledErr;
    static_cast<CarbonHotkeyRegistrar*>(userData)->pressed(hotKey.signature, hotKey.id);
    return noErr;
}

} // namespace

CarbonHotkeyRegistrar::CarbonHotkeyRegistrar() {
    const EventTypeSpec hotKeyPress{kEventClassKeyboard, kEventHotKeyPressed};
    EventHandlerRef installed = nullptr;
    if (InstallEventHandler(GetApplicationEventTarget(), hotKeyPressed, 1, &hotKeyPress, this,
                            &installed) == noErr)
        eventHandler_ = installed;
}

CarbonHotkeyRegistrar::~CarbonHotkeyRegistrar() {
    for (quintptr handle : table_.systemHandles())
        UnregisterEventHotKey(reinterpret_cast<EventHotKeyRef>(handle));
    if (eventHandler_)
        RemoveEventHandler(static_cast<EventHandlerRef>(eventHandler_));
}

std::optional<HotkeyRegistrar::Ref>
CarbonHotkeyRegistrar::registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) {
    const auto carbonKeys = HotkeyTable::keysOf(keys);
    switch (table_.claim(carbonKeys, exclusive)) {
    case HotkeyTable::Claim::refused:
        return std::nullopt;
    case HotkeyTable::Claim::shared:
        return table_.add(*carbonKeys, id, 0);
    case HotkeyTable::Claim::needsSystem:
        break;
    }
    // No option bits: exclusivity among our own registrations is the table's; the system
    // refuses what another program holds.
    const EventHotKeyID hotKey{HotkeyTable::signature, table_.nextSlot()};
    EventHotKeyRef registered = nullptr;
    if (RegisterEventHotKey(carbonKeys->keyCode, carbonKeys->modifiers, hotKey,
                            GetApplicationEventTarget(), 0, &registered) != noErr ||
        !registered)
        return std::nullopt;
    return table_.add(*carbonKeys, id, reinterpret_cast<quintptr>(registered));
}

void CarbonHotkeyRegistrar::unregisterHotkey(Ref ref) {
    if (const auto released = table_.remove(ref))
        UnregisterEventHotKey(reinterpret_cast<EventHotKeyRef>(*released));
}

void CarbonHotkeyRegistrar::setPressHandler(PressHandler handler) {
    handler_ = std::move(handler);
}

void CarbonHotkeyRegistrar::pressed(quint32 signature, quint32 slot) {
    QMetaObject::invokeMethod(
        &context_,
        [this, signature, slot] {
            // The handler may register or release keys; the ids are read first.
            for (quint32 id : table_.idsFor(signature, slot)) {
                if (handler_)
                    handler_(id);
            }
        },
        Qt::QueuedConnection);
}

} // namespace kivaro
