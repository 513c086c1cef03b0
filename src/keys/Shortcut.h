#pragma once

#include <QStringList>

namespace kivaro {

// A fixed in-window shortcut with the key caps that describe it.
struct Shortcut {
    quint16 key = 0;       // virtual key code
    quint64 modifiers = 0; // EventModifier flags (app/KeyCombo.h)
    QStringList glyphs;

    // ⌘K: opens the action menu of the selected result.
    static Shortcut actions();

    bool operator==(const Shortcut&) const = default;
};

} // namespace kivaro
