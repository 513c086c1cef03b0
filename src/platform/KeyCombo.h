#pragma once

#include <QString>

namespace kivaro {

// Event modifier flags with the platform's values, as menu key equivalents carry them.
namespace EventModifier {
constexpr quint64 shift = 0x20000;
constexpr quint64 control = 0x40000;
constexpr quint64 option = 0x80000;
constexpr quint64 command = 0x100000;
} // namespace EventModifier

// The key equivalent of a browser menu item: its character (lower-cased) and modifiers.
struct KeyCombo {
    QString character;
    quint64 modifiers = 0; // EventModifier flags

    bool operator==(const KeyCombo&) const = default;
};

} // namespace kivaro
