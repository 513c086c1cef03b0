#pragma once

#include <QFlags>
#include <QString>

#include <optional>

namespace kivaro {

// The modifier keys, named as on the Mac. On Linux command is Ctrl, control is Super and
// option is Alt. The values are the Carbon masks that stored bindings have always carried,
// so a binding's stored "modifiers" is this value as it is.
enum class Modifier : quint32 {
    command = 0x100,
    shift = 0x200,
    option = 0x800,
    control = 0x1000,
};
Q_DECLARE_FLAGS(Modifiers, Modifier)
Q_DECLARE_OPERATORS_FOR_FLAGS(Modifiers)

// Every modifier key; other bits (a stored binding may hold some) mean nothing.
inline constexpr Modifiers allModifiers =
    Modifier::command | Modifier::shift | Modifier::option | Modifier::control;

// Virtual key codes of the Mac's ANSI keyboard, the key numbering used on every platform.
namespace VirtualKey {
constexpr quint32 a = 0;
constexpr quint32 h = 4;
constexpr quint32 c = 8;
constexpr quint32 q = 12;
constexpr quint32 w = 13;
constexpr quint32 t = 17;
constexpr quint32 p = 35;
constexpr quint32 l = 37;
constexpr quint32 k = 40;
constexpr quint32 n = 45;
constexpr quint32 m = 46;
constexpr quint32 tab = 48;
constexpr quint32 space = 49;
constexpr quint32 escape = 53;
} // namespace VirtualKey

// A key and the modifiers held with it: a hot-key binding, a key press, a fixed in-window
// shortcut or the key equivalent of a browser's menu item.
struct KeyCombo {
    // The virtual key code; a menu item's key equivalent is known by its character only.
    std::optional<quint32> keyCode;
    Modifiers modifiers;
    // The key's text: a binding's display name ("T", "Tab", "↩"), the characters a pressed
    // key types without modifiers, or a menu key equivalent's character (lower-cased).
    QString key;

    // Whether both press the same keys, whatever they are called.
    bool sameKeys(const KeyCombo& other) const {
        return keyCode == other.keyCode && modifiers == other.modifiers;
    }

    bool operator==(const KeyCombo&) const = default;
};

} // namespace kivaro
