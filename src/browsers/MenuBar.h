#pragma once

#include "platform/KeyCombo.h"
#include "platform/MenuBarAccess.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// Reads a browser's menu bar into a flat list of leaf items and presses items by their path.
// Keeps no state: every walk reads the live menu bar again, so titles that change with the
// browser's state ("Show Sidebar", "Hide Sidebar") are always current.
namespace MenuBar {

// One leaf menu item.
struct Item {
    QStringList path; // titles from the top-level menu down to the item: two or three
    bool enabled = false;
    QStringList keys; // shortcut glyphs: ⌃ ⌥ ⇧ ⌘, then the key upper-cased
    std::optional<KeyCombo> combo;

    bool operator==(const Item&) const = default;
};

// A menu item's key equivalent, as glyphs and as a combination.
struct KeyEquivalent {
    QStringList keys;
    std::optional<KeyCombo> combo;

    bool operator==(const KeyEquivalent&) const = default;
};

// Top-level menus that are never walked: bookmark and profile lists, Help.
const QStringList& skipped();

// Words that flip with an item's state ("Show Sidebar" / "Hide Sidebar").
const QStringList& toggleWords();

// Every leaf item of the application's menu bar, bounded: 200 items per menu (30 in History),
// 60 per submenu, no third level. Empty without trust or without a menu bar.
QList<Item> walk(const MenuBarAccess& access, const QString& bundleID);

// Presses the item at `path`; the last title also matches its other state ("Hide Sidebar" for
// "Show Sidebar"). Whether the item was found and the press succeeded.
bool press(MenuBarAccess& access, const QStringList& path, const QString& bundleID);

// The key equivalent of a character and the raw accessibility modifier integer (bit 1 Shift,
// 2 Option, 4 Control, 8 no Command); a missing modifier integer means ⌘ alone, a missing or
// empty character means no key equivalent.
KeyEquivalent shortcut(const std::optional<QString>& character,
                       const std::optional<qint64>& modifiers);

// The text after a leading toggle word ("Sidebar" for "Show Sidebar"), else nothing.
std::optional<QString> looseKey(const QString& title);

} // namespace MenuBar

} // namespace kivaro
