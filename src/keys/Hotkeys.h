#pragma once

#include "keys/HotkeyCombo.h"
#include "platform/HotkeyRegistrar.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

namespace kivaro {

class Preferences;

// Turns the configured bindings into system-wide hot keys while a browser is in front, and
// hands each press to `onPress` on the main thread.
class Hotkeys {
public:
    // The hot-key meanings; the raw value is the id registered with each key.
    enum class Key : quint32 {
        newTab = 1,
        currentTab = 2,
        copyLink = 3,
        copyMarkdown = 4,
        pin = 5,
        lastTab = 6,
    };

    // Nothing for an id outside 1…6.
    static std::optional<Key> keyFromRaw(quint32 raw);

    // Installs the press handler on `registrar`; both must outlive this object or be
    // destroyed after it. Construct on the main thread.
    Hotkeys(HotkeyRegistrar& registrar, Preferences& preferences);
    ~Hotkeys();
    Hotkeys(const Hotkeys&) = delete;
    Hotkeys& operator=(const Hotkeys&) = delete;

    std::function<void(Key)> onPress;

    // Registers every enabled binding; does nothing while keys are registered.
    void registerKeys();
    // Releases every registered key; the press handler stays installed.
    void unregisterKeys();

    // Registers one binding under `key`; a binding the system refuses is skipped silently.
    void add(const HotkeyCombo& combo, Key key);

    const QList<HotkeyRegistrar::Ref>& refs() const { return refs_; }

private:
    // Called by the registrar for each press, on whatever thread it runs.
    void received(quint32 id);

    HotkeyRegistrar& registrar_;
    Preferences& preferences_;
    QList<HotkeyRegistrar::Ref> refs_;
    // Presses are re-posted through this object's thread (the main thread); it dies with
    // us, so a press still queued at destruction is dropped.
    QObject context_;
};

} // namespace kivaro
