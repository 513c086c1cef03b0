#include "ui/ActionMenu.h"

#include "keys/KeyCaps.h"
#include "keys/Shortcut.h"
#include "support/RowActions.h"
#include "ui/ActionBar.h"
#include "ui/Keycap.h"

#include <QAccessible>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::loggedAction;
using testing::pressKey;

QStringList titles(const ActionMenu& menu) {
    QStringList order;
    for (const RowAction& action : menu.shown())
        order.append(action.title);
    return order;
}

// Spelled-out keys widen the menu so that a title is never cut, up to a limit.
TEST(ActionMenuWidthTest, GrowsForItsLongestItemWithinTheLimit) {
    QStringList ran;
    const KeyCombo remove{51, Modifier::command | Modifier::shift, u"⌫"_qs};
    ActionMenu menu;
    menu.present(u"Row"_qs, {loggedAction(u"Open"_qs, ran)});
    EXPECT_EQ(menu.preferredWidth(), ActionMenu::width);
    menu.present(u"Row"_qs, {loggedAction(u"Remove from History"_qs, ran, true, remove)});
    EXPECT_GE(menu.preferredWidth(),
              std::min(menu.items().first()->naturalWidth(), ActionMenu::maximumWidth));
    menu.present(u"Row"_qs, {loggedAction(QString(200, u'W'), ran, false, remove)});
    EXPECT_EQ(menu.preferredWidth(), ActionMenu::maximumWidth);
}

class ActionMenuTest : public ::testing::Test {
protected:
    ActionMenuTest() {
        menu.resize(ActionMenu::width, 200);
        menu.onDismiss = [this] { ++dismissed; };
        menu.present(u"GitHub"_qs,
                     {loggedAction(u"Close Tab"_qs, ran, true),
                      loggedAction(u"Switch to Tab"_qs, ran), loggedAction(u"Copy Link"_qs, ran)});
    }

    QStringList ran;
    int dismissed = 0;
    ActionMenu menu;
};

TEST_F(ActionMenuTest, ListsDangerLastBehindASeparatorAndSizesItself) {
    EXPECT_EQ(titles(menu), (QStringList{u"Switch to Tab"_qs, u"Copy Link"_qs, u"Close Tab"_qs}));
    EXPECT_EQ(menu.separatorBefore(), 2);
    EXPECT_EQ(menu.preferredHeight(), 163);
    menu.present(u"Row"_qs, {loggedAction(u"Close Tab"_qs, ran, true)});
    EXPECT_EQ(menu.separatorBefore(), std::nullopt) << "nothing to set danger apart from";
    menu.present(u"Row"_qs, {});
    EXPECT_EQ(menu.preferredHeight(), 80);
}

TEST_F(ActionMenuTest, ArrowsWrapReturnRunsEscDismisses) {
    EXPECT_TRUE(menu.items()[0]->isSelected());
    pressKey(menu, Qt::Key_Up);
    EXPECT_EQ(menu.selected(), 2);
    EXPECT_TRUE(menu.items()[2]->isSelected());
    EXPECT_FALSE(menu.items()[0]->isSelected());
    pressKey(menu, Qt::Key_Down);
    EXPECT_EQ(menu.selected(), 0);
    menu.move(-4);
    pressKey(menu, Qt::Key_Return);
    pressKey(menu, Qt::Key_Down);
    pressKey(menu, Qt::Key_Enter);
    EXPECT_EQ(ran, (QStringList{u"Close Tab"_qs, u"Switch to Tab"_qs}));
    EXPECT_TRUE(pressKey(menu, Qt::Key_Escape));
    EXPECT_EQ(dismissed, 1);
    EXPECT_FALSE(pressKey(menu, Qt::Key_A)) << "other keys go on to the panel";
    menu.present(u"Nothing"_qs, {});
    menu.move(1);
    pressKey(menu, Qt::Key_Return);
    EXPECT_EQ(ran.size(), 2);
}

TEST_F(ActionMenuTest, HoverSelectsAndAClickRunsEvenWhenTheActionRefillsTheMenu) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, {}, {});
    QApplication::sendEvent(menu.items()[1], &move);
    EXPECT_EQ(menu.selected(), 1);
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(menu.items()[1]);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_EQ(item->text(QAccessible::Name), u"Copy Link"_qs);
    menu.present(u"Again"_qs, {{u"Refill"_qs, u"link"_qs, std::nullopt, false, [this] {
                                    ran.append(u"Refill"_qs);
                                    menu.present(u"Again"_qs, {});
                                }}});
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(menu.items()[0], &click);
    EXPECT_EQ(ran, QStringList{u"Refill"_qs});
    EXPECT_TRUE(menu.items().isEmpty());
}

TEST(KeycapTest, SpeaksGlyphsByNameAndIsOneElement) {
    EXPECT_EQ(Keycap::spoken({u"⌃"_qs, u"⌥"_qs, u"⇧"_qs, u"⌘"_qs, u"↩"_qs, u"⌫"_qs, u"⇥"_qs}),
              u"Control Option Shift Command Return Delete Tab"_qs);
    EXPECT_EQ(Keycap::spoken({u"Ctrl"_qs, u"Shift"_qs, u"C"_qs}), u"Ctrl Shift C"_qs);
    std::unique_ptr<QWidget> caps(Keycap::row({u"⇧"_qs, u"⌘"_qs, u"P"_qs}));
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(caps.get());
    EXPECT_EQ(row->text(QAccessible::Name), u"Shift Command P"_qs);
    EXPECT_EQ(row->childCount(), 0);
}

TEST(ActionBarTest, SaysTheModeAndTheHints) {
    QStringList ran;
    const KeyCombo returnKey{36, {}, u"↩"_qs};
    const QString actions =
        (QStringList{u"Actions"_qs} + KeyCaps::of(Shortcut::actions())).join(u' ');
    const QString primary = (QStringList{u"Switch to Tab"_qs} + KeyCaps::of(returnKey)).join(u' ');
    const ActionBar::Special developer{u"Developer Tools"_qs,
                                       u"chevron.left.forwardslash.chevron.right"_qs};
    const std::tuple<OpenMode, std::optional<ActionBar::Special>, bool, QString> cases[] = {
        {OpenMode::newTab, std::nullopt, true, u"Opens in new tab"_qs},
        {OpenMode::currentTab, std::nullopt, true, u"Opens in current tab"_qs},
        {OpenMode::currentTab, developer, true, u"Developer Tools"_qs},
        {OpenMode::newTab, std::nullopt, false, u"Opens in new tab"_qs}};
    ActionBar bar;
    for (const auto& [mode, special, hasPrimary, text] : cases) {
        bar.update(mode, special,
                   hasPrimary
                       ? std::optional(loggedAction(u"Switch to Tab"_qs, ran, false, returnKey))
                       : std::nullopt);
        EXPECT_EQ(bar.modeText(), text);
        EXPECT_EQ(bar.hints(), hasPrimary ? (QStringList{primary, actions}) : QStringList{actions});
    }
    EXPECT_TRUE(ran.isEmpty());
}

} // namespace
} // namespace kivaro
