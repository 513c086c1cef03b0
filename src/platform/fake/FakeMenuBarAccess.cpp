#include "platform/fake/FakeMenuBarAccess.h"

namespace kivaro {

namespace {

using Node = FakeMenuBarAccess::Node;

const Node& nodeOf(const MenuElement& element) {
    return *static_cast<const Node*>(element.handle.get());
}

// Appends the titles from `node` down to `target` to `path`; false when it is not below.
bool findPath(const Node& node, const Node* target, QStringList& path) {
    if (&node == target)
        return true;
    for (const Node& child : node.children) {
        if (!child.title.isEmpty())
            path.append(child.title);
        if (findPath(child, target, path))
            return true;
        if (!child.title.isEmpty())
            path.removeLast();
    }
    return false;
}

Node node(QString title, std::vector<Node> children, bool enabled = true) {
    Node made;
    made.title = std::move(title);
    made.enabled = enabled;
    made.children = std::move(children);
    return made;
}

} // namespace

Node FakeMenuBarAccess::bar(std::vector<Node> menus) {
    menus.insert(menus.begin(),
                 menu(QStringLiteral("Apple"), {item(QStringLiteral("About This Mac"))}));
    return node(QString(), std::move(menus));
}

Node FakeMenuBarAccess::menu(QString title, std::vector<Node> items) {
    std::vector<Node> menu;
    menu.push_back(node(QString(), std::move(items)));
    return node(std::move(title), std::move(menu));
}

Node FakeMenuBarAccess::item(QString title, QString key, std::optional<qint64> modifiers,
                             bool enabled) {
    Node leaf = node(std::move(title), {}, enabled);
    if (!key.isEmpty()) {
        leaf.keyCharacter = std::move(key);
        leaf.keyModifiers = modifiers;
    }
    return leaf;
}

Node FakeMenuBarAccess::disabled(QString title, QString key, std::optional<qint64> modifiers) {
    return item(std::move(title), std::move(key), modifiers, false);
}

Node FakeMenuBarAccess::separator() {
    return node(QString(), {}, false);
}

void FakeMenuBarAccess::setMenuBar(const QString& bundleID, Node bar) {
    bars_.insert(bundleID, std::make_shared<const Node>(std::move(bar)));
}

void FakeMenuBarAccess::removeMenuBar(const QString& bundleID) {
    bars_.remove(bundleID);
}

std::optional<MenuElement> FakeMenuBarAccess::menuBar(const QString& bundleID) const {
    const auto bar = bars_.value(bundleID);
    if (!bar)
        return std::nullopt;
    return MenuElement{bar};
}

QList<MenuElement> FakeMenuBarAccess::children(const MenuElement& element) const {
    const Node& node = nodeOf(element);
    // Menus are the untitled elements below a titled one; the bar itself has no path.
    if (node.title.isEmpty()) {
        const QStringList path = titlePath(&node);
        if (!path.isEmpty())
            opened_.append(path);
    }
    QList<MenuElement> list;
    for (const Node& child : node.children)
        list.append(MenuElement{std::shared_ptr<const void>(element.handle, &child)});
    return list;
}

QString FakeMenuBarAccess::title(const MenuElement& element) const {
    return nodeOf(element).title;
}

bool FakeMenuBarAccess::enabled(const MenuElement& element) const {
    return nodeOf(element).enabled;
}

std::optional<QString> FakeMenuBarAccess::keyCharacter(const MenuElement& element) const {
    return nodeOf(element).keyCharacter;
}

std::optional<qint64> FakeMenuBarAccess::keyModifiers(const MenuElement& element) const {
    return nodeOf(element).keyModifiers;
}

bool FakeMenuBarAccess::press(const MenuElement& element) {
    if (!pressSucceeds_)
        return false;
    presses_.append(titlePath(&nodeOf(element)));
    return true;
}

QStringList FakeMenuBarAccess::titlePath(const Node* target) const {
    for (const auto& bar : bars_) {
        QStringList path;
        if (findPath(*bar, target, path))
            return path;
    }
    return {};
}

} // namespace kivaro
