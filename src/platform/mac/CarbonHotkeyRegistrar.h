#pragma once

#include "platform/HotkeyRegistrar.h"
#include "platform/HotkeyTable.h"

#include <QObject>

namespace kivaro {

// System-wide hot keys through the Carbon Event Manager: one RegisterEventHotKey per
// combination, presses read by one handler on the application event target and handed to
// the press handler on the next turn of the main event loop, never inside Carbon's callback.
// Main thread only.
class CarbonHotkeyRegistrar final : public HotkeyRegistrar {
public:
    CarbonHotkeyRegistrar();
    ~CarbonHotkeyRegistrar() override;
    CarbonHotkeyRegistrar(const CarbonHotkeyRegistrar&) = delete;
    CarbonHotkeyRegistrar& operator=(const CarbonHotkeyRegistrar&) = delete;

    std::optional<Ref> registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) override;
    void unregisterHotkey(Ref ref) override;
    void setPressHandler(PressHandler handler) override;

    // A press Carbon reported, as its hot-key identifier's two fields.
    void pressed(quint32 signature, quint32 slot);

private:
    HotkeyTable table_;
    PressHandler handler_;
    // The installed EventHandlerRef; null when installing failed.
    void* eventHandler_ = nullptr;
    // Queued presses are delivered through it, and dropped with it.
    QObject context_;
};

} // namespace kivaro
