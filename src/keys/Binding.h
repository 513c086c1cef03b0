#pragma once

#include "keys/HotkeyAction.h"
#include "platform/KeyCombo.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace kivaro {

// One binding for each action.
using ActionCombos = QMap<HotkeyAction, KeyCombo>;

// The rules of a hot-key binding: how a key press becomes one, which are allowed, which keys
// it registers and how it is stored.
namespace Binding {

// The binding a key press makes: its key code, its modifier keys and the key's display name
// (the name table's, else its characters upper-cased, else "?").
KeyCombo fromPress(const KeyCombo& pressed);

// Why `combo` cannot be used for `action` given the current `combos`, or nothing.
std::optional<QString> problem(const KeyCombo& combo, HotkeyAction action,
                               const ActionCombos& combos);

// Whether the action also takes the option variant of its binding: copy-link's Markdown copy.
bool hasMarkdownVariant(HotkeyAction action);

// The hot keys `combo` registers for `action`: the binding, then the Markdown variant where
// the action has one and the binding does not already hold option.
QList<KeyCombo> registrations(const KeyCombo& combo, HotkeyAction action);

// The stored form: a JSON object with "keyCode", "modifiers" (the Modifier values) and "key".
QByteArray toJson(const KeyCombo& combo);
// Nothing unless the data is a JSON object with a whole-number "keyCode" and "modifiers" in
// the unsigned 32-bit range and a string "key".
std::optional<KeyCombo> fromJson(const QByteArray& data);

} // namespace Binding

} // namespace kivaro
