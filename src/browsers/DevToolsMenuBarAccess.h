#pragma once

#include "browsers/RemoteBrowser.h"
#include "platform/MenuBarAccess.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace kivaro {

// The menu bar of a browser driven through a remote-control protocol (DevTools, WebDriver
// BiDi). Linux offers no way to read another application's menus, so this presents the
// commands the browser's protocol can carry out as a menu bar of its own, titled as Chromium's
// menus and the command catalog title them (so that MenuBar::walk, Commands::resolve and
// MenuBar::press work unchanged), and pressing an item carries the command out through the
// browser. Items the browser does not support are left out. There is no "Pin Tab": neither
// protocol can pin, and the store's pin action then says so.
class DevToolsMenuBarAccess : public MenuBarAccess {
public:
    // One item of the menu bar.
    struct Item {
        QString menu;    // top-level menu title
        QString submenu; // empty for an item directly in the menu
        QString title;
        QString key;          // key equivalent character, empty for none
        qint64 modifiers = 0; // raw accessibility modifier integer
        RemoteBrowser::Operation operation = RemoteBrowser::Operation::reload;

        bool operator==(const Item&) const = default;
    };

    explicit DevToolsMenuBarAccess(QList<std::shared_ptr<RemoteBrowser>> browsers);

    // Every item, in menu order.
    static const QList<Item>& items();

    // Nothing to grant on a desktop that has no accessibility gate for this.
    bool trusted() const override { return true; }
    // The menu bar of that browser while it answers; nothing otherwise, so that a browser that
    // cannot be driven offers no commands.
    std::optional<MenuElement> menuBar(const QString& bundleID) const override;
    QList<MenuElement> children(const MenuElement& element) const override;
    QString title(const MenuElement& element) const override;
    bool enabled(const MenuElement& element) const override;
    std::optional<QString> keyCharacter(const MenuElement& element) const override;
    std::optional<qint64> keyModifiers(const MenuElement& element) const override;
    bool press(const MenuElement& element) override;

    struct Node;

private:
    QList<std::shared_ptr<RemoteBrowser>> browsers_;
};

} // namespace kivaro
