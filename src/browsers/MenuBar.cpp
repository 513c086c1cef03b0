#include "browsers/MenuBar.h"

#include "keys/KeyCaps.h"

#include <algorithm>

namespace kivaro::MenuBar {

namespace {

constexpr qsizetype itemsPerMenu = 200;
constexpr qsizetype itemsPerHistoryMenu = 30; // the rest are visited pages
constexpr qsizetype itemsPerSubmenu = 60;

QList<MenuElement> firstOf(const QList<MenuElement>& list, qsizetype count) {
    return list.first(std::min(count, list.size()));
}

std::optional<MenuElement> firstChild(const MenuBarAccess& access, const MenuElement& element) {
    const QList<MenuElement> children = access.children(element);
    if (children.isEmpty())
        return std::nullopt;
    return children.first();
}

// The items of the menu an element holds (a top-level title or an item with a submenu), or
// nothing when the element holds no menu.
std::optional<QList<MenuElement>> menuItems(const MenuBarAccess& access,
                                            const MenuElement& element) {
    const auto menu = firstChild(access, element);
    if (!menu)
        return std::nullopt;
    return access.children(*menu);
}

Item itemAt(const MenuBarAccess& access, const MenuElement& element, QStringList path) {
    KeyEquivalent key = shortcut(access.keyCharacter(element), access.keyModifiers(element));
    return Item{.path = std::move(path),
                .enabled = access.enabled(element),
                .keys = std::move(key.keys),
                .combo = std::move(key.combo)};
}

// The leaves of one submenu; deeper submenus are left out.
void walkSubmenu(const MenuBarAccess& access, const QStringList& parentPath,
                 const QList<MenuElement>& entries, QList<Item>& items) {
    for (const MenuElement& entry : firstOf(entries, itemsPerSubmenu)) {
        const QString title = access.title(entry);
        if (title.isEmpty() || !access.children(entry).isEmpty())
            continue;
        items.append(itemAt(access, entry, parentPath + QStringList{title}));
    }
}

void walkMenu(const MenuBarAccess& access, const QString& menuTitle,
              const QList<MenuElement>& entries, QList<Item>& items) {
    const bool history = menuTitle == u"History";
    const bool window = menuTitle == u"Window";
    for (const MenuElement& entry :
         firstOf(entries, history ? itemsPerHistoryMenu : itemsPerMenu)) {
        const QString title = access.title(entry);
        if (title.isEmpty())
            continue;
        // What follows is the list of open windows.
        if (window && title == u"Bring All to Front")
            break;
        const QStringList path{menuTitle, title};
        // History's submenus (recently closed pages) are never opened.
        if (const auto submenu = firstChild(access, entry)) {
            if (!history)
                walkSubmenu(access, path, access.children(*submenu), items);
            continue;
        }
        Item item = itemAt(access, entry, path);
        // History's items without a shortcut are visited pages, not commands.
        if (!history || !item.keys.isEmpty())
            items.append(std::move(item));
    }
}

struct Titled {
    MenuElement element;
    QString title;
};

QList<Titled> titledChildren(const MenuBarAccess& access, const MenuElement& element) {
    QList<Titled> titled;
    for (const MenuElement& child : access.children(element))
        titled.append({child, access.title(child)});
    return titled;
}

std::optional<MenuElement> childTitled(const QList<Titled>& children, const QString& title) {
    for (const Titled& child : children) {
        if (child.title == title)
            return child.element;
    }
    return std::nullopt;
}

// The child showing the other state of `title` ("Hide Sidebar" for "Show Sidebar").
std::optional<MenuElement> childLooselyTitled(const QList<Titled>& children, const QString& title) {
    const auto wanted = looseKey(title);
    if (!wanted || wanted->isEmpty())
        return std::nullopt;
    for (const Titled& child : children) {
        if (looseKey(child.title) == wanted)
            return child.element;
    }
    return std::nullopt;
}

// The modifiers of the accessibility interface's raw integer: bit 1 Shift, 2 Option,
// 4 Control, 8 no Command.
Modifiers menuModifiers(qint64 raw) {
    struct Bit {
        qint64 bit;
        bool whenSet; // Command is on unless its bit is set
        Modifier modifier;
    };
    static constexpr Bit bits[] = {
        {1, true, Modifier::shift},
        {2, true, Modifier::option},
        {4, true, Modifier::control},
        {8, false, Modifier::command},
    };
    Modifiers held;
    for (const Bit& bit : bits) {
        if (((raw & bit.bit) != 0) == bit.whenSet)
            held |= bit.modifier;
    }
    return held;
}

} // namespace

const QStringList& skipped() {
    static const QStringList titles{QStringLiteral("Help"), QStringLiteral("Bookmarks"),
                                    QStringLiteral("Profiles"), QStringLiteral("Profile"),
                                    QStringLiteral("People")};
    return titles;
}

const QStringList& toggleWords() {
    static const QStringList words{
        QStringLiteral("Show"),  QStringLiteral("Hide"),  QStringLiteral("Close"),
        QStringLiteral("Start"), QStringLiteral("Stop"),  QStringLiteral("Enter"),
        QStringLiteral("Exit"),  QStringLiteral("Pin"),   QStringLiteral("Unpin"),
        QStringLiteral("Mute"),  QStringLiteral("Unmute")};
    return words;
}

QList<Item> walk(const MenuBarAccess& access, const QString& bundleID) {
    if (!access.trusted())
        return {};
    const auto bar = access.menuBar(bundleID);
    if (!bar)
        return {};
    QList<Item> items;
    // The first menu is the system menu.
    for (const MenuElement& top : access.children(*bar).mid(1)) {
        const QString title = access.title(top);
        if (title.isEmpty() || skipped().contains(title))
            continue;
        const auto entries = menuItems(access, top);
        if (entries && !entries->isEmpty())
            walkMenu(access, title, *entries, items);
    }
    return items;
}

bool press(MenuBarAccess& access, const QStringList& path, const QString& bundleID) {
    // No walked item has an empty title; one in a path would find a separator.
    if (path.isEmpty() || path.contains(QString()) || !access.trusted())
        return false;
    auto current = access.menuBar(bundleID);
    for (qsizetype i = 0; current && i < path.size(); ++i) {
        const bool last = i == path.size() - 1;
        const QList<Titled> children = titledChildren(access, *current);
        auto found = childTitled(children, path[i]);
        if (!found && last)
            found = childLooselyTitled(children, path[i]);
        if (!found)
            return false;
        if (last)
            return access.press(*found);
        current = firstChild(access, *found);
    }
    return false;
}

KeyEquivalent shortcut(const std::optional<QString>& character,
                       const std::optional<qint64>& modifiers) {
    if (!character || character->isEmpty())
        return {};
    const Modifiers held = menuModifiers(modifiers.value_or(0));
    return {KeyCaps::caps(held, character->toUpper(), KeyCaps::Style::glyphs),
            KeyCombo{.modifiers = held, .key = character->toLower()}};
}

std::optional<QString> looseKey(const QString& title) {
    const qsizetype blank = title.indexOf(u' ');
    if (blank < 0 || !toggleWords().contains(title.first(blank)))
        return std::nullopt;
    return title.mid(blank + 1);
}

} // namespace kivaro::MenuBar
