#pragma once

#include "keys/HotkeyBindings.h"
#include "platform/HotkeyRegistrar.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

namespace kivaro {

// Turns the configured bindings into system-wide hot keys while a browser is in front, and
// hands each press to `onPress` on the main thread.
class Hotkeys {
public:
    // What a press means: the action, and for copy-link whether it was the Markdown variant.
    struct Press {
        HotkeyAction action;
        bool markdown = false;

        bool operator==(const Press&) const = default;
    };

    // The id registered for a press: two per action, in allCases() order, the second for the
    // Markdown variant.
    static quint32 idOf(const Press& press);
    // Nothing for an id that no registration of ours carries.
    static std::optional<Press> pressOf(quint32 id);

    // Installs the press handler on `registrar`; both must outlive this object or be
    // destroyed after it. Construct on the main thread.
    Hotkeys(HotkeyRegistrar& registrar, HotkeyBindings& bindings);
    ~Hotkeys();
    Hotkeys(const Hotkeys&) = delete;
    Hotkeys& operator=(const Hotkeys&) = delete;

    std::function<void(Press)> onPress;
    // Told each combination the system refused while registering: another program holds it,
    // or this keyboard has no such key.
    std::function<void(HotkeyAction action, const KeyCombo& keys)> onRefused;

    // Registers every enabled binding; does nothing while keys are registered.
    void registerKeys();
    // Releases every registered key; the press handler stays installed.
    void unregisterKeys();

    const QList<HotkeyRegistrar::Ref>& refs() const { return refs_; }

private:
    // Called by the registrar for each press, on whatever thread it runs.
    void received(quint32 id);

    HotkeyRegistrar& registrar_;
    HotkeyBindings& bindings_;
    QList<HotkeyRegistrar::Ref> refs_;
    // Presses are re-posted through this object's thread (the main thread); it dies with
    // us, so a press still queued at destruction is dropped.
    QObject context_;
};

} // namespace kivaro
