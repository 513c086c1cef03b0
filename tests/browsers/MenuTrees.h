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

// Reads tests/fixtures/menus/<name>.menu into a menu bar; two spaces indent a level. `toggled`:
// the toggles read the other way (a "~" gives a title's toggled form).
FakeMenuBarAccess::Node fromFixture(const QString& name, bool toggled = false);

// One line per command: menu, title, symbol, keywords, shortcut, what it does, "core".
QStringList commandLines(const QList<Command>& commands);

// The lines of tests/fixtures/menus/<name>.
QStringList expected(const QString& name);

// The fake menu bars of Safari and Chromium, registered under their bundle identifiers.
class MenuBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        access.setMenuBar(safariID, fromFixture(QStringLiteral("safari")));
        access.setMenuBar(chromiumID, fromFixture(QStringLiteral("chromium")));
    }

    FakeMenuBarAccess access;
};

} // namespace kivaro::MenuTrees
