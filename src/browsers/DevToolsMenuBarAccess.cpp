#include "browsers/DevToolsMenuBarAccess.h"

namespace kivaro {

namespace {

using Operation = RemoteBrowser::Operation;

// Key equivalents as Chromium has them on Linux: Control instead of Command (8 = no Command).
constexpr qint64 control = 4 | 8;
constexpr qint64 controlShift = 1 | 4 | 8;
constexpr qint64 alt = 2 | 8;

// Titles from the command catalog where it has the command (so the commands get its symbols
// and keywords), Chromium's own otherwise.
struct ItemRow {
    const char16_t* menu;
    const char16_t* submenu;
    const char16_t* title;
    const char16_t* key;
    qint64 modifiers;
    Operation operation;
};

constexpr ItemRow itemRows[] = {
    {u"File", u"", u"New Tab", u"t", control, Operation::newTab},
    {u"File", u"", u"New Window", u"n", control, Operation::newWindow},
    {u"File", u"", u"Close Tab", u"w", control, Operation::closeTab},
    {u"File", u"", u"Close Other Tabs", u"", 0, Operation::closeOtherTabs},
    {u"File", u"", u"Close Window", u"w", controlShift, Operation::closeWindow},
    {u"View", u"", u"Stop", u"", 0, Operation::stop},
    {u"View", u"", u"Reload Page", u"r", control, Operation::reload},
    {u"View", u"", u"Reload Page From Origin", u"r", controlShift, Operation::reloadIgnoringCache},
    {u"View", u"", u"Enter Full Screen", u"", 0, Operation::toggleFullScreen},
    {u"View", u"Developer", u"View Source", u"u", control, Operation::viewSource},
    {u"View", u"Developer", u"Developer Tools", u"i", controlShift, Operation::developerTools},
    {u"History", u"", u"Back", u"\u2190", alt, Operation::back},
    {u"History", u"", u"Forward", u"\u2192", alt, Operation::forward},
    {u"Tab", u"", u"Select Next Tab", u"", 0, Operation::nextTab},
    {u"Tab", u"", u"Select Previous Tab", u"", 0, Operation::previousTab},
    {u"Tab", u"", u"Duplicate Tab", u"", 0, Operation::duplicateTab},
};

} // namespace

// One element of a browser's menu tree; leaves carry their command.
struct DevToolsMenuBarAccess::Node {
    QString title;
    std::optional<QString> key;
    qint64 modifiers = 0;
    std::optional<Operation> operation;
    std::vector<std::shared_ptr<Node>> children;
    std::shared_ptr<RemoteBrowser> browser;
};

namespace {

using Node = DevToolsMenuBarAccess::Node;

std::shared_ptr<Node> titled(const QString& title) {
    auto node = std::make_shared<Node>();
    node->title = title;
    return node;
}

// The child titled `title`, made (with its menu, as the accessibility layout has it) if new.
Node& menuOf(Node& parent, const QString& title) {
    for (const auto& child : parent.children)
        if (child->title == title)
            return *child->children.front();
    auto entry = titled(title);
    entry->children.push_back(titled({}));
    parent.children.push_back(entry);
    return *entry->children.front();
}

std::shared_ptr<Node> tree(const std::shared_ptr<RemoteBrowser>& browser) {
    auto bar = titled({});
    bar->children.push_back(titled(browser->name())); // the application menu, never walked
    for (const auto& item : DevToolsMenuBarAccess::items()) {
        if (!browser->supports(item.operation))
            continue;
        Node* menu = &menuOf(*bar, item.menu);
        if (!item.submenu.isEmpty())
            menu = &menuOf(*menu, item.submenu);
        auto leaf = titled(item.title);
        if (!item.key.isEmpty())
            leaf->key = item.key;
        leaf->modifiers = item.modifiers;
        leaf->operation = item.operation;
        leaf->browser = browser;
        menu->children.push_back(leaf);
    }
    return bar;
}

const Node* node(const MenuElement& element) {
    return static_cast<const Node*>(element.handle.get());
}

} // namespace

DevToolsMenuBarAccess::DevToolsMenuBarAccess(QList<std::shared_ptr<RemoteBrowser>> browsers)
    : browsers_(std::move(browsers)) {}

const QList<DevToolsMenuBarAccess::Item>& DevToolsMenuBarAccess::items() {
    static const QList<Item> list = [] {
        QList<Item> items;
        for (const ItemRow& row : itemRows)
            items.append({QString::fromUtf16(row.menu), QString::fromUtf16(row.submenu),
                          QString::fromUtf16(row.title), QString::fromUtf16(row.key), row.modifiers,
                          row.operation});
        return items;
    }();
    return list;
}

std::optional<MenuElement> DevToolsMenuBarAccess::menuBar(const QString& bundleID) const {
    for (const auto& browser : browsers_) {
        if (browser->bundleID() == bundleID && browser->reachable())
            return MenuElement{tree(browser)};
    }
    return std::nullopt;
}

QList<MenuElement> DevToolsMenuBarAccess::children(const MenuElement& element) const {
    QList<MenuElement> children;
    if (const Node* parent = node(element)) {
        // Aliasing handles keep the whole tree alive while any element of it is held.
        for (const auto& child : parent->children)
            children.append(MenuElement{std::shared_ptr<const void>(element.handle, child.get())});
    }
    return children;
}

QString DevToolsMenuBarAccess::title(const MenuElement& element) const {
    const Node* found = node(element);
    return found ? found->title : QString();
}

bool DevToolsMenuBarAccess::enabled(const MenuElement& element) const {
    return node(element) != nullptr;
}

std::optional<QString> DevToolsMenuBarAccess::keyCharacter(const MenuElement& element) const {
    const Node* found = node(element);
    return found ? found->key : std::nullopt;
}

std::optional<qint64> DevToolsMenuBarAccess::keyModifiers(const MenuElement& element) const {
    const Node* found = node(element);
    if (!found || !found->key)
        return std::nullopt;
    return found->modifiers;
}

bool DevToolsMenuBarAccess::press(const MenuElement& element) {
    const Node* found = node(element);
    return found && found->operation && found->browser &&
           found->browser->perform(*found->operation);
}

} // namespace kivaro
