#pragma once

#include "platform/KeyCombo.h"

#include <QString>
#include <Qt>

#include <optional>

namespace kivaro {

// The panel's keys in Qt terms. Qt::ControlModifier is ⌘ on both platforms (Qt reports the
// Mac's command key as it, and Linux's Ctrl plays that part), Qt::MetaModifier is ⌃ (Super
// on Linux), Alt is ⌥. Keys compare by the Mac's virtual key codes, translated from Qt's
// keys by the one table in PanelKeys.cpp.
namespace PanelKeys {

namespace Code {
inline constexpr quint32 c = VirtualKey::c;
inline constexpr quint32 p = VirtualKey::p;
inline constexpr quint32 k = VirtualKey::k;
inline constexpr quint32 returnKey = 36;
inline constexpr quint32 tab = VirtualKey::tab;
inline constexpr quint32 deleteKey = 51;
inline constexpr quint32 escape = VirtualKey::escape;
inline constexpr quint32 enter = 76;
inline constexpr quint32 forwardDelete = 117;
inline constexpr quint32 down = 125;
inline constexpr quint32 up = 126;
} // namespace Code

// The virtual key code of a Qt key, when the table has it.
std::optional<quint32> virtualKey(int qtKey);

// Qt's modifier flags as the program's (masked to the four modifier keys).
Modifiers modifiers(Qt::KeyboardModifiers flags);

// A key press: its code, its modifiers and the characters it types without modifiers,
// lower-cased.
KeyCombo press(int qtKey, Qt::KeyboardModifiers flags, const QString& text);

bool isDelete(const KeyCombo& key);
// Exactly ⌘ with a digit 1–9: the digit.
std::optional<int> commandDigit(const KeyCombo& key);

// The standard editing commands of the query field.
enum class Edit { paste, copy, cut, selectAll, undo, redo };
std::optional<Edit> editing(const KeyCombo& key);

// The commands the field's editor turns the remaining keys into.
enum class FieldCommand { moveUp, moveDown, insertNewline, cancel, insertTab };
std::optional<FieldCommand> fieldCommand(const KeyCombo& key);

// The hints held modifiers switch on, and after how long.
struct HintPlan {
    enum class Kind { none, numbers, remove };
    Kind kind = Kind::none;
    int delayMs = 0;

    bool operator==(const HintPlan&) const = default;
};
// ⌘ with ⌥, or with ⇧: the remove hint after 0.4 s; ⌘ alone: the numbers after 0.2 s.
HintPlan hintFor(Modifiers held);

} // namespace PanelKeys

} // namespace kivaro
