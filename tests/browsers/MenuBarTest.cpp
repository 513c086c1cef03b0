#include "browsers/MenuBar.h"

#include "MenuTrees.h"
#include "support/FixtureRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using F = FakeMenuBarAccess;
using MenuTrees::chromiumID;
using MenuTrees::safariID;
using ::testing::Contains;
using ::testing::Not;

// A decoded combo as its modifier glyphs and key, to set beside the shortcut's glyphs.
QString glyphs(const std::optional<KeyCombo>& combo) {
    if (!combo)
        return u"none"_s;
    QString text;
    for (const auto& [modifier, glyph] : {std::pair{Modifier::control, u'\u2303'},
                                          {Modifier::option, u'\u2325'},
                                          {Modifier::shift, u'\u21e7'},
                                          {Modifier::command, u'\u2318'}})
        if (combo->modifiers.testFlag(modifier))
            text += glyph;
    return text + combo->key;
}

// One line per item: its path, its shortcut glyphs and decoded combo, and "(off)" when disabled.
QStringList rendered(const QList<MenuBar::Item>& items) {
    QStringList lines;
    for (const MenuBar::Item& item : items)
        lines.append(item.path.join(u" › "_s) +
                     (item.keys.isEmpty() && !item.combo
                          ? QString()
                          : u"  "_s + item.keys.join(QString()) + u' ' + glyphs(item.combo)) +
                     (item.enabled ? QString() : u"  (off)"_s));
    return lines;
}

F::Node barWith(F::Node menu) {
    return F::bar({std::move(menu)});
}

std::vector<F::Node> numberedItems(int count, const QString& key = {}) {
    std::vector<F::Node> items;
    for (int i = 0; i < count; ++i)
        items.push_back(F::item(u"Item "_s + QString::number(i), key));
    return items;
}

class MenuBarTest : public MenuTrees::MenuBarsTest {
protected:
    QList<MenuBar::Item> walkOnly(F::Node bar) {
        access.setMenuBar(u"test"_s, std::move(bar));
        return MenuBar::walk(access, u"test"_s);
    }
};

// History keeps only its commands (no pages, no Recently Closed), Window drops the window
// list after "Bring All to Front", the system menu is never read, and duplicate titles in
// different menus stay separate items. The shortcuts bar holds key equivalents of every kind.
TEST_F(MenuBarTest, WalkFlattensTheMenusInOrderLeavingOutListsOfPagesAndWindows) {
    access.setMenuBar(u"shortcuts"_s, MenuTrees::fromFixture(u"shortcuts"_s));
    for (const auto& [name, bundle] : {std::pair{u"safari"_s, safariID},
                                       {u"chromium"_s, chromiumID},
                                       {u"shortcuts"_s, u"shortcuts"_s}})
        EXPECT_EQ(rendered(MenuBar::walk(access, bundle)), MenuTrees::expected(name + u".walk"_s));
    EXPECT_THAT(access.opened(), Contains(QStringList{u"View"_s, u"Text Encoding"_s}));
    EXPECT_THAT(access.opened(), Not(Contains(QStringList{u"History"_s, u"Recently Closed"_s})));
    for (const QString& title : {u"Apple"_s, u"Bookmarks"_s, u"Profiles"_s, u"Help"_s})
        EXPECT_THAT(access.opened(), Not(Contains(QStringList{title}))) << title.toStdString();
}

// Nothing is read or pressed without trust or a menu bar, or when the press is refused.
TEST_F(MenuBarTest, WalkAndPressNeedTrustAndAMenuBarAndWalksSkipUntitledOrEmptyMenus) {
    const QStringList reload{u"View"_s, u"Reload Page"_s};
    access.setTrusted(false);
    EXPECT_TRUE(MenuBar::walk(access, safariID).isEmpty());
    EXPECT_TRUE(access.opened().isEmpty());
    EXPECT_FALSE(MenuBar::press(access, reload, safariID));
    access.setTrusted(true);
    access.setPressSucceeds(false);
    EXPECT_FALSE(MenuBar::press(access, reload, safariID));
    access.setPressSucceeds(true);
    access.removeMenuBar(safariID);
    EXPECT_FALSE(MenuBar::press(access, reload, safariID));
    EXPECT_TRUE(access.presses().isEmpty());
    EXPECT_TRUE(MenuBar::walk(access, u"com.example.NotRunning"_s).isEmpty());
    EXPECT_TRUE(walkOnly(F::bar({})).isEmpty());
    EXPECT_TRUE(walkOnly(F::Node{}).isEmpty());
    EXPECT_EQ(
        rendered(walkOnly(F::bar({F::menu(QString(), {F::item(u"Untitled Menu Item"_s)}),
                                  F::item(u"Title Without Menu"_s), F::menu(u"Empty"_s, {}),
                                  F::menu(u"Tools"_s, {F::separator(), F::item(QString(), u"x"_s),
                                                       F::item(u"Kept"_s)})}))),
        QStringList{u"Tools › Kept"_s});
}

TEST_F(MenuBarTest, WalkIsBoundedInLengthAndDepth) {
    const auto long_ = walkOnly(barWith(F::menu(u"Tools"_s, numberedItems(250))));
    ASSERT_EQ(long_.size(), 200);
    EXPECT_EQ(long_.last().path, (QStringList{u"Tools"_s, u"Item 199"_s}));
    EXPECT_EQ(walkOnly(barWith(F::menu(u"History"_s, numberedItems(40, u"k"_s)))).size(), 30);
    const auto sub =
        walkOnly(barWith(F::menu(u"Tools"_s, {F::menu(u"Many"_s, numberedItems(70))})));
    ASSERT_EQ(sub.size(), 60);
    EXPECT_EQ(sub.last().path, (QStringList{u"Tools"_s, u"Many"_s, u"Item 59"_s}));
    // A submenu entry with a submenu of its own is left out with everything below it.
    const F::Node deep = F::menu(u"Level 3"_s, {F::menu(u"Level 4"_s, {F::item(u"Bottom"_s)})});
    EXPECT_EQ(rendered(walkOnly(barWith(F::menu(
                  u"Tools"_s, {F::menu(u"Level 2"_s, {deep, F::item(u"Leaf"_s, u"l"_s)})})))),
              QStringList{u"Tools › Level 2 › Leaf  \u2318L \u2318l"_s});
}

// No character, no shortcut, whatever the modifiers.
TEST(MenuBarShortcut, NeedsACharacter) {
    for (const auto& [character, raw] :
         {std::pair{std::optional<QString>(), std::optional<qint64>(0)},
          {QString(), 1},
          {u""_s, std::nullopt}}) {
        EXPECT_TRUE(MenuBar::shortcut(character, raw).keys.isEmpty());
        EXPECT_EQ(MenuBar::shortcut(character, raw).combo, std::nullopt);
    }
}

// The titles of tests/fixtures/menus/loose-keys.txt.
TEST(MenuBarLooseKey, IsTheTextAfterALeadingToggleWord) {
    for (const QStringList& row : testing::fixtureRows(u"menus/loose-keys.txt"_s, 2))
        EXPECT_EQ(MenuBar::looseKey(row[0]).value_or(u"none"_s), row[1]) << row[0].toStdString();
}

// Which item a press of a path reaches: tests/fixtures/menus/presses.txt.
TEST_F(MenuBarTest, PressReachesTheItemOfThePathOrItsToggledTitleAndNothingElse) {
    access.setMenuBar(safariID, MenuTrees::fromFixture(u"safari"_s, true));
    access.setMenuBar(
        u"test"_s,
        barWith(F::menu(u"Tools"_s, {F::menu(u"Show Panels"_s, {F::item(u"Hide Panel"_s)}),
                                     F::item(u"Hide "_s)})));
    const QHash<QString, QString> bundles{{u"safari"_s, safariID}, {u"chromium"_s, chromiumID}};
    const auto titles = [](const QString& path) {
        return path.isEmpty() ? QStringList() : path.split(u'/');
    };
    for (const QStringList& row : testing::fixtureRows(u"menus/presses.txt"_s, 3)) {
        const qsizetype before = access.presses().size();
        EXPECT_EQ(MenuBar::press(access, titles(row[1]), bundles.value(row[0], row[0])),
                  !row[2].isEmpty())
            << row.join(u'|').toStdString();
        EXPECT_EQ(access.presses().mid(before),
                  row[2].isEmpty() ? QList<QStringList>() : QList<QStringList>{titles(row[2])})
            << row.join(u'|').toStdString();
    }
}

} // namespace
} // namespace kivaro
