#pragma once

#include "browsers/Command.h"
#include "browsers/MenuBar.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace kivaro {

// Turns menu items into command results: known items get a symbol and search keywords from
// fixed catalogs, the program's own commands are added, and the developer tools are derived
// for developer mode.
namespace Commands {

// A known menu item.
struct Entry {
    QString menu;
    QStringList titles; // every title the item may show; the first is canonical
    QString symbol;
    QString keywords;

    bool operator==(const Entry&) const = default;
};

// A Safari developer tool.
struct Tool {
    QStringList titles; // the Develop menu's titles of the tool in its two states
    QString name;       // the neutral name
    QString symbol;
    QString keywords;

    bool operator==(const Tool&) const = default;
};

// A reload variant of Safari's View menu listed among the developer tools.
struct ViewExtra {
    QString item; // the menu item's title
    QString title;
    QString symbol;
    QString keywords;

    bool operator==(const ViewExtra&) const = default;
};

// A Develop submenu whose entries are listed as developer tools.
struct Group {
    QString name;
    QString symbol;
    QString keywords;

    bool operator==(const Group&) const = default;
};

// A developer item of a Chromium-family browser.
struct ChromiumTool {
    QString title;
    QString symbol;

    bool operator==(const ChromiumTool&) const = default;
};

const QList<Entry>& entries();
const QList<Tool>& tools();
const QList<ViewExtra>& viewExtras();
const QMap<QString, Group>& groups();          // keyed by the submenu title
const QMap<QString, ChromiumTool>& chromium(); // keyed by the menu item title
const QList<Command>& own();                   // "Copy Link", "Copy Markdown Link"

// Every catalog entry as a command, then the own commands: what Safari offers when its menu
// bar cannot be read.
QList<Command> defaults();

// The menu commands of the items (disabled ones left out when `trustEnabled`), one per title,
// then the own commands.
QList<Command> resolve(const QList<MenuBar::Item>& items, bool trustEnabled);

// The developer tools found in the items: Safari's Develop menu, its reload variants and
// Develop submenus, or a Chromium-family browser's Developer submenu.
QList<Command> dev(const QList<MenuBar::Item>& items);

// The menu commands of a walk: the defaults for Safari when the walk found nothing, otherwise
// the resolved items, trusting the enabled state only in Safari.
QList<Command> forBrowser(const QList<MenuBar::Item>& items, bool safari);

} // namespace Commands

} // namespace kivaro
