#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kivaro {

// One element of an application's menu bar: the bar itself, a menu, or a menu item. Only
// the adapter that made it can read it; holding it keeps the underlying reference alive.
struct MenuElement {
    std::shared_ptr<const void> handle;
};

// Reads an application's menu bar as a tree, element by element, and presses its items.
// The tree has the accessibility layout: the bar's children are the top-level menu titles,
// each title's first child is its menu, and an item with a submenu has that menu as its first
// child. Every read that fails gives "nothing there": no bar, no children, an empty title,
// disabled, no key equivalent. Deciding what to read and what to press is the caller's job, so
// a walk opens only the menus it wants.
class MenuBarAccess {
public:
    virtual ~MenuBarAccess() = default;

    // Whether this process may read and press other applications' menus.
    virtual bool trusted() const = 0;

    // The menu bar of the first running application with this bundle identifier.
    virtual std::optional<MenuElement> menuBar(const QString& bundleID) const = 0;

    virtual QList<MenuElement> children(const MenuElement& element) const = 0;
    virtual QString title(const MenuElement& element) const = 0;
    virtual bool enabled(const MenuElement& element) const = 0;

    // The key equivalent as the accessibility interface gives it: the character, and the raw
    // modifier integer (bit 1 Shift, 2 Option, 4 Control, 8 no Command).
    virtual std::optional<QString> keyCharacter(const MenuElement& element) const = 0;
    virtual std::optional<qint64> keyModifiers(const MenuElement& element) const = 0;

    // Performs the press action; true exactly when the application reports success.
    virtual bool press(const MenuElement& element) = 0;
};

} // namespace kivaro
