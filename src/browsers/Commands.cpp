#include "browsers/Commands.h"

#include <QSet>

#include <functional>

namespace kivaro::Commands {

namespace {

// Catalog rows as written; several titles are separated by '|'.
struct EntryRow {
    const char16_t* menu;
    const char16_t* titles;
    const char16_t* symbol;
    const char16_t* keywords;

    Entry record() const;
};

constexpr EntryRow entryRows[] = {
    {u"History",
     u"Reopen Last Closed Tab|Reopen Closed Tab|Re-open Closed Tab|Reopen Closed Window",
     u"arrow.uturn.backward", u"undo restore closed"},
    {u"File", u"Close Tab", u"xmark", u"close current"},
    {u"File", u"Close Other Tabs", u"xmark.square", u"close others clean"},
    {u"Window", u"Duplicate Tab", u"plus.square.on.square", u"copy clone"},
    {u"Window", u"Pin Tab|Unpin Tab", u"pin", u"pin unpin"},
    {u"Window", u"Mute Current Tab|Unmute Current Tab", u"speaker.slash",
     u"mute unmute sound audio"},
    {u"Window", u"Move Tab to New Window", u"macwindow", u"move detach"},
    {u"Window", u"Merge All Windows", u"rectangle.stack", u"merge combine"},
    {u"Window", u"Go To Next Tab Group", u"rectangle.2.swap", u"next group space switch"},
    {u"View", u"Reload Page", u"arrow.clockwise", u"reload refresh"},
    {u"View", u"Reload Page From Origin", u"arrow.clockwise.circle", u"hard reload refresh cache"},
    {u"View", u"Show Sidebar|Hide Sidebar", u"sidebar.left", u"sidebar toggle tabs"},
    {u"View", u"Show Reader|Hide Reader", u"doc.plaintext", u"reader read article"},
    {u"View", u"Show Tab Overview|Hide Tab Overview", u"square.grid.2x2",
     u"overview grid all tabs"},
    {u"View", u"Show Downloads|Hide Downloads", u"arrow.down.circle", u"downloads files"},
    {u"View", u"Enter Full Screen|Exit Full Screen", u"arrow.up.left.and.arrow.down.right",
     u"fullscreen"},
    {u"History", u"Show History", u"clock", u"history visited"},
    {u"File", u"New Private Window", u"hand.raised", u"private incognito"},
    {u"File", u"New Empty Tab Group", u"plus.rectangle.on.rectangle", u"new group space"},
    {u"File", u"Create Tab Group from This Window", u"rectangle.stack.badge.plus",
     u"group save window"},
    {u"File", u"Share\u2026", u"square.and.arrow.up", u"share send"},
    {u"File", u"Export as PDF\u2026", u"doc.richtext", u"pdf export save"},
    {u"Develop", u"Show Web Inspector|Close Web Inspector", u"hammer",
     u"inspector devtools dev tools"},
    {u"Develop", u"Show JavaScript Console|Hide JavaScript Console", u"terminal",
     u"console javascript js devtools"},
    {u"Develop", u"Enter Responsive Design Mode|Exit Responsive Design Mode", u"iphone",
     u"responsive mobile device"},
    {u"Develop", u"Show Page Source", u"chevron.left.forwardslash.chevron.right",
     u"source html view"},
    {u"Develop", u"Empty Caches for All Profiles", u"trash.circle", u"cache clear empty"},
};

struct ToolRow {
    const char16_t* titles;
    const char16_t* name;
    const char16_t* symbol;
    const char16_t* keywords;

    Tool record() const;
};

constexpr ToolRow toolRows[] = {
    {u"Show Web Inspector|Close Web Inspector", u"Web Inspector", u"hammer",
     u"inspector devtools elements network storage sources"},
    {u"Show JavaScript Console|Hide JavaScript Console", u"Console", u"terminal",
     u"javascript console js log repl"},
    {u"Start Element Selection|Stop Element Selection", u"Inspect Element", u"cursorarrow.rays",
     u"element select pick dom"},
    {u"Show Page Source|Hide Page Source", u"Page Source",
     u"chevron.left.forwardslash.chevron.right", u"source html view"},
    {u"Show Page Resources|Hide Page Resources", u"Page Resources", u"folder",
     u"resources sources files assets network"},
    {u"Start Timeline Recording|Stop Timeline Recording", u"Timeline Recording",
     u"waveform.path.ecg", u"timeline performance profile record"},
    {u"Enter Responsive Design Mode|Exit Responsive Design Mode", u"Responsive Design Mode",
     u"iphone", u"responsive mobile device viewport"},
    {u"Empty Caches for All Profiles|Empty Caches", u"Empty Caches", u"trash.circle",
     u"cache clear empty"},
    {u"Connect Web Inspector", u"Connect Web Inspector", u"cable.connector",
     u"remote connect device"},
    {u"Inspect Apps and Devices", u"Inspect Apps and Devices", u"ipad.and.iphone",
     u"remote devices simulator"},
    {u"Developer Settings\u2026", u"Developer Settings", u"gearshape", u"settings preferences"},
    {u"Feature Flags\u2026", u"Feature Flags", u"flag", u"flags experimental features"},
};

QString text(const char16_t* raw) {
    return QString::fromUtf16(raw);
}

QStringList splitTitles(const char16_t* raw) {
    return text(raw).split(u'|');
}

Entry EntryRow::record() const {
    return Entry{.menu = text(menu),
                 .titles = splitTitles(titles),
                 .symbol = text(symbol),
                 .keywords = text(keywords)};
}

Tool ToolRow::record() const {
    return Tool{.titles = splitTitles(titles),
                .name = text(name),
                .symbol = text(symbol),
                .keywords = text(keywords)};
}

// The records of a constant table, in table order.
template <typename Row, std::size_t count>
auto recordsOf(const Row (&rows)[count]) {
    QList<decltype(rows[0].record())> list;
    for (const Row& row : rows)
        list.append(row.record());
    return list;
}

const QString developMenu = QStringLiteral("Develop");
const QString viewMenu = QStringLiteral("View");
const QString developerMenu = QStringLiteral("Developer");

// A command that presses the menu item at `item`'s path, with its shortcut.
Command pressing(const MenuBar::Item& item, QString title, QString symbol, QString keywords,
                 QString menu, bool core) {
    return Command{.title = std::move(title),
                   .symbol = std::move(symbol),
                   .keywords = std::move(keywords),
                   .menu = std::move(menu),
                   .action = Action::menu(item.path),
                   .keys = item.keys,
                   .core = core,
                   .combo = item.combo};
}

// A command without shortcut, never a core tool.
Command plain(QString title, QString symbol, QString keywords, QString menu, Action action) {
    return Command{.title = std::move(title),
                   .symbol = std::move(symbol),
                   .keywords = std::move(keywords),
                   .menu = std::move(menu),
                   .action = std::move(action),
                   .keys = {},
                   .core = false,
                   .combo = std::nullopt};
}

const Entry* entryListing(const QString& title) {
    for (const Entry& entry : entries()) {
        if (entry.titles.contains(title, Qt::CaseInsensitive))
            return &entry;
    }
    return nullptr;
}

Command menuCommand(const MenuBar::Item& item) {
    const QString title = item.path.last();
    const QString menu = item.path.first(item.path.size() - 1).join(u" \u203a ");
    if (const Entry* entry = entryListing(title))
        return pressing(item, title, entry->symbol, entry->keywords, menu, false);
    return pressing(item, title, QStringLiteral("filemenu.and.selection"), menu.toLower(), menu,
                    false);
}

QList<MenuBar::Item> inMenu(const QList<MenuBar::Item>& items, const QString& menu) {
    QList<MenuBar::Item> found;
    for (const MenuBar::Item& item : items) {
        if (item.path.value(0) == menu)
            found.append(item);
    }
    return found;
}

// The first item directly in its top-level menu whose title passes `wanted`.
const MenuBar::Item* firstDirect(const QList<MenuBar::Item>& items,
                                 const std::function<bool(const QString&)>& wanted) {
    for (const MenuBar::Item& item : items) {
        if (item.path.size() == 2 && wanted(item.path[1]))
            return &item;
    }
    return nullptr;
}

bool underDeveloperMenu(const QStringList& path) {
    const QStringList parents = path.first(path.size() - 1);
    return parents.contains(developerMenu) || parents.contains(QStringLiteral("Developer Tools"));
}

QList<Command> chromiumTools(const QList<MenuBar::Item>& items) {
    QList<Command> found;
    for (const MenuBar::Item& item : items) {
        if (item.path.size() < 3 || !underDeveloperMenu(item.path))
            continue;
        const QString title = item.path.last();
        const ChromiumTool tool =
            chromium().value(title, ChromiumTool{title, QStringLiteral("wrench.and.screwdriver")});
        found.append(pressing(item, tool.title, tool.symbol,
                              QStringLiteral("developer devtools ") + title.toLower(),
                              developerMenu, true));
    }
    return found;
}

// A tool's title shows the state it would leave ("Hide Page Source"), its neutral name
// otherwise.
QString toolTitle(const Tool& tool, const QString& menuTitle) {
    static const QStringList leaving{QStringLiteral("Close"), QStringLiteral("Hide"),
                                     QStringLiteral("Stop"), QStringLiteral("Exit")};
    for (const QString& word : leaving) {
        if (menuTitle.startsWith(word))
            return menuTitle;
    }
    return tool.name;
}

void appendDevelopTools(const QList<MenuBar::Item>& develop, QList<Command>& found) {
    for (const Tool& tool : tools()) {
        const auto* item =
            firstDirect(develop, [&](const QString& title) { return tool.titles.contains(title); });
        if (item) {
            found.append(pressing(*item, toolTitle(tool, item->path[1]), tool.symbol, tool.keywords,
                                  developMenu, true));
        }
    }
}

void appendViewExtras(const QList<MenuBar::Item>& view, QList<Command>& found) {
    for (const ViewExtra& extra : viewExtras()) {
        const auto* item =
            firstDirect(view, [&](const QString& title) { return title == extra.item; });
        if (item)
            found.append(
                pressing(*item, extra.title, extra.symbol, extra.keywords, viewMenu, true));
    }
}

// The entries of the Develop submenus worth listing ("User Agent: Safari — iPhone").
void appendGroupEntries(const QList<MenuBar::Item>& develop, QList<Command>& found) {
    QSet<QString> titlesSeen;
    for (const MenuBar::Item& item : develop) {
        if (item.path.size() != 3 || !groups().contains(item.path[1]))
            continue;
        const QString& entry = item.path[2];
        if (entry.endsWith(u'\u2026') || entry.startsWith(u"No "))
            continue;
        const Group& group = groups()[item.path[1]];
        const QString title = group.name + QStringLiteral(": ") + entry;
        if (titlesSeen.contains(title))
            continue;
        titlesSeen.insert(title);
        found.append(
            plain(title, group.symbol, group.keywords, item.path[1], Action::menu(item.path)));
    }
}

QList<Command> safariTools(const QList<MenuBar::Item>& develop, const QList<MenuBar::Item>& view) {
    QList<Command> found;
    appendDevelopTools(develop, found);
    appendViewExtras(view, found);
    appendGroupEntries(develop, found);
    return found;
}

} // namespace

const QList<Entry>& entries() {
    static const QList<Entry> catalog = recordsOf(entryRows);
    return catalog;
}

const QList<Tool>& tools() {
    static const QList<Tool> catalog = recordsOf(toolRows);
    return catalog;
}

const QList<ViewExtra>& viewExtras() {
    static const QList<ViewExtra> catalog{
        {QStringLiteral("Reload Page From Origin"), QStringLiteral("Hard Reload"),
         QStringLiteral("arrow.clockwise.circle"), QStringLiteral("hard reload cache origin")},
        {QStringLiteral("Reload Without Content Blockers"),
         QStringLiteral("Reload Without Content Blockers"), QStringLiteral("shield.slash"),
         QStringLiteral("reload blockers adblock")},
        {QStringLiteral("Reload and Show IP Address"), QStringLiteral("Reload and Show IP Address"),
         QStringLiteral("network"), QStringLiteral("reload ip address")},
    };
    return catalog;
}

const QMap<QString, Group>& groups() {
    static const QMap<QString, Group> catalog{
        {QStringLiteral("User Agent"),
         {QStringLiteral("User Agent"), QStringLiteral("person.crop.rectangle"),
          QStringLiteral("user agent ua spoof")}},
        {QStringLiteral("Open Page With"),
         {QStringLiteral("Open With"), QStringLiteral("arrow.up.forward.app"),
          QStringLiteral("open with browser simulator")}},
        {QStringLiteral("Service Workers"),
         {QStringLiteral("Service Worker"), QStringLiteral("gearshape.2"),
          QStringLiteral("service worker sw")}},
        {QStringLiteral("Web Extension Background Content"),
         {QStringLiteral("Extension Background"), QStringLiteral("puzzlepiece.extension"),
          QStringLiteral("extension background")}},
    };
    return catalog;
}

const QMap<QString, ChromiumTool>& chromium() {
    static const QMap<QString, ChromiumTool> catalog{
        {QStringLiteral("Developer Tools"),
         {QStringLiteral("Developer Tools"), QStringLiteral("hammer")}},
        {QStringLiteral("JavaScript Console"),
         {QStringLiteral("Console"), QStringLiteral("terminal")}},
        {QStringLiteral("Inspect Elements"),
         {QStringLiteral("Inspect Element"), QStringLiteral("cursorarrow.rays")}},
        {QStringLiteral("View Source"),
         {QStringLiteral("Page Source"),
          QStringLiteral("chevron.left.forwardslash.chevron.right")}},
        {QStringLiteral("Task Manager"),
         {QStringLiteral("Task Manager"), QStringLiteral("gauge.with.dots.needle.33percent")}},
    };
    return catalog;
}

const QList<Command>& own() {
    static const QList<Command> commands{
        plain(QStringLiteral("Copy Link"), QStringLiteral("link"),
              QStringLiteral("copy url link share"), QStringLiteral("Kivaro"),
              Action::copyLink(false)),
        plain(QStringLiteral("Copy Markdown Link"), QStringLiteral("text.badge.plus"),
              QStringLiteral("copy markdown md link"), QStringLiteral("Kivaro"),
              Action::copyLink(true)),
    };
    return commands;
}

QList<Command> defaults() {
    QList<Command> commands;
    for (const Entry& entry : entries()) {
        const QString& title = entry.titles.first();
        commands.append(plain(title, entry.symbol, entry.keywords, entry.menu,
                              Action::menu({entry.menu, title})));
    }
    return commands + own();
}

QList<Command> resolve(const QList<MenuBar::Item>& items, bool trustEnabled) {
    QSet<QString> titlesSeen;
    for (const Command& command : own())
        titlesSeen.insert(command.title);
    QList<Command> commands;
    for (const MenuBar::Item& item : items) {
        if ((trustEnabled && !item.enabled) || item.path.isEmpty())
            continue;
        const QString& title = item.path.last();
        if (titlesSeen.contains(title))
            continue;
        titlesSeen.insert(title);
        commands.append(menuCommand(item));
    }
    return commands + own();
}

QList<Command> dev(const QList<MenuBar::Item>& items) {
    const QList<MenuBar::Item> develop = inMenu(items, developMenu);
    if (!items.isEmpty() && develop.isEmpty())
        return chromiumTools(items);
    return safariTools(develop, inMenu(items, viewMenu));
}

QList<Command> forBrowser(const QList<MenuBar::Item>& items, bool safari) {
    if (items.isEmpty() && safari)
        return defaults();
    return resolve(items, safari);
}

} // namespace kivaro::Commands
