#pragma once

#include "platform/MenuBarAccess.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace kivaro {

// A menu bar held in memory, one per bundle identifier, for tests and the demonstration.
// Records which menus were opened and which items were pressed.
class FakeMenuBarAccess : public MenuBarAccess {
public:
    // One element of the tree, in the accessibility layout (see MenuBarAccess).
    struct Node {
        QString title;
        bool enabled = true;
        std::optional<QString> keyCharacter;
        std::optional<qint64> keyModifiers;
        std::vector<Node> children;
    };

    // A menu bar whose first menu is the system menu, as every application's is.
    static Node bar(std::vector<Node> menus);
    // A top-level menu or an item with a submenu: the titled element holding the menu.
    static Node menu(QString title, std::vector<Node> items);
    // A leaf item; an empty key means no key equivalent, modifiers are the raw integer.
    static Node item(QString title, QString key = {}, std::optional<qint64> modifiers = 0,
                     bool enabled = true);
    static Node disabled(QString title, QString key = {}, std::optional<qint64> modifiers = 0);
    static Node separator();

    void setMenuBar(const QString& bundleID, Node bar);
    void removeMenuBar(const QString& bundleID);
    void setTrusted(bool trusted) { trusted_ = trusted; }
    // Makes every press report failure, as an application that refuses the action does.
    void setPressSucceeds(bool succeeds) { pressSucceeds_ = succeeds; }

    // The title paths of the items pressed successfully, oldest first.
    QList<QStringList> presses() const { return presses_; }
    // The title paths of the menus whose items were read, in reading order.
    QList<QStringList> opened() const { return opened_; }

    bool trusted() const override { return trusted_; }
    std::optional<MenuElement> menuBar(const QString& bundleID) const override;
    QList<MenuElement> children(const MenuElement& element) const override;
    QString title(const MenuElement& element) const override;
    bool enabled(const MenuElement& element) const override;
    std::optional<QString> keyCharacter(const MenuElement& element) const override;
    std::optional<qint64> keyModifiers(const MenuElement& element) const override;
    bool press(const MenuElement& element) override;

private:
    QStringList titlePath(const Node* target) const;

    QHash<QString, std::shared_ptr<const Node>> bars_;
    bool trusted_ = true;
    bool pressSucceeds_ = true;
    QList<QStringList> presses_;
    mutable QList<QStringList> opened_;
};

} // namespace kivaro
