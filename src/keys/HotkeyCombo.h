#pragma once

#include "keys/HotkeyAction.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// Modifier masks of a stored binding (the Carbon values, kept on every platform so that
// settings carry over unchanged).
namespace HotkeyModifier {
constexpr quint32 command = 0x100;
constexpr quint32 shift = 0x200;
constexpr quint32 option = 0x800;
constexpr quint32 control = 0x1000;
} // namespace HotkeyModifier

// Virtual key codes the program needs by name.
namespace VirtualKey {
constexpr quint32 escape = 53;
} // namespace VirtualKey

// A key-down event reduced to what a binding is made of, so that recording works the same
// whichever toolkit delivered the event.
struct KeyEvent {
    quint16 keyCode = 0;       // virtual key code
    QString characters;        // the characters with no modifiers applied
    quint64 modifierFlags = 0; // EventModifier flags (app/KeyCombo.h)

    bool operator==(const KeyEvent&) const = default;
};

struct HotkeyCombo;
using HotkeyCombos = QMap<HotkeyAction, HotkeyCombo>;

// One key binding: a virtual key code, modifier masks and the key's display name.
struct HotkeyCombo {
    quint32 keyCode = 0;
    quint32 modifiers = 0;
    QString key;

    static HotkeyCombo fromEvent(const KeyEvent& event);

    // The binding as separate key caps: modifier glyphs in ⌃⌥⇧⌘ order, then the key.
    QStringList glyphs() const;

    // Why this binding cannot be used for `action` given the current `combos`, or nothing.
    std::optional<QString> problem(HotkeyAction action, const HotkeyCombos& combos) const;

    // The hot keys this binding registers for `action`: copy-link also takes the option
    // variant (the Markdown copy) unless it already holds option.
    QList<HotkeyCombo> registrations(HotkeyAction action) const;

    QByteArray toJson() const;
    // Nothing unless the data is a JSON object with a whole-number "keyCode" and
    // "modifiers" in the unsigned 32-bit range and a string "key".
    static std::optional<HotkeyCombo> fromJson(const QByteArray& data);

    bool sameKeys(const HotkeyCombo& other) const {
        return keyCode == other.keyCode && modifiers == other.modifiers;
    }

    bool operator==(const HotkeyCombo&) const = default;
};

} // namespace kivaro
