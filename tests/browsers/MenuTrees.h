#pragma once

#include "browsers/Command.h"
#include "platform/fake/FakeMenuBarAccess.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace kivaro::MenuTrees {

// Bundle identifiers the fake menu bars are registered under.
inline const QString safariID = QStringLiteral("com.apple.Safari");
inline const QString chromiumID = QStringLiteral("org.chromium.Chromium");

// Reads tests/fixtures/menus/<name>.menu into a menu bar; two spaces indent a level.
FakeMenuBarAccess::Node fromFixture(const QString& name, bool toggled = false);

// Safari's menu bar as it reads with one window open, the sidebar hidden and the Develop menu
// shown: submenus, separators, disabled items, history pages, the window list. `toggled`: the
// sidebar, console, page source and web inspector shown, a timeline recording and the
// responsive design mode on, so that the toggles read the other way.
FakeMenuBarAccess::Node safari(bool toggled = false);

// Chromium's menu bar: no Develop menu, developer items under View › Developer, a "Copy Link"
// of its own under File › Share, and a "Profiles" menu.
FakeMenuBarAccess::Node chromium();

// One line per command: menu, title, symbol, keywords, shortcut, what it does, "core".
QStringList commandLines(const QList<Command>& commands);

// The lines of tests/fixtures/menus/<name>.
QStringList expected(const QString& name);

// The fake menu bars of Safari and Chromium, registered under their bundle identifiers.
class MenuBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, safari());
        access.setMenuBar(chromiumID, chromium());
    }

    FakeMenuBarAccess access;
};

} // namespace kivaro::MenuTrees

namespace kivaro {

// The titles of commands, in order.
inline QStringList titlesOf(const QList<Command>& commands) {
    QStringList titles;
    for (const Command& command : commands)
        titles.append(command.title);
    return titles;
}

} // namespace kivaro
