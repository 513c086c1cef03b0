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

struct MenuCase {
    QList<bool> danger; // one entry an action, titled by its index
    int height;
    QStringList order;
    std::optional<qsizetype> separator;
};

class MenuHeightTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuHeightTest, ListsDangerLastBehindASeparatorAndSizesItself) {
    QStringList ran;
    QList<RowAction> actions;
    for (qsizetype i = 0; i < GetParam().danger.size(); ++i)
        actions.append(loggedAction(QString::number(i), ran, GetParam().danger[i]));
    ActionMenu menu;
    menu.present(u"Row"_qs, actions);
    EXPECT_EQ(menu.preferredHeight(), GetParam().height);
    EXPECT_EQ(titles(menu), GetParam().order);
    EXPECT_EQ(menu.separatorBefore(), GetParam().separator);
    EXPECT_EQ(menu.items().size(), actions.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MenuHeightTest,
    ::testing::Values(MenuCase{{true, false, false, false, false},
                               235,
                               {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"0"_qs},
                               4},
                      MenuCase{{false}, 80, {u"0"_qs}, std::nullopt},
                      MenuCase{{}, 80, {}, std::nullopt},
                      MenuCase{{true, true}, 116, {u"0"_qs, u"1"_qs}, std::nullopt}));

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

struct BarCase {
    OpenMode mode;
    std::optional<ActionBar::Special> special;
    bool primary;
    QString text;
};

class ActionBarTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(ActionBarTest, SaysTheModeAndTheHints) {
    ActionBar bar;
    QStringList ran;
    const KeyCombo returnKey{36, {}, u"↩"_qs};
    const auto primary = [&](const QString& title) {
        return std::optional(loggedAction(title, ran, false, returnKey));
    };
    bar.update(OpenMode::newTab, std::nullopt, primary(u"Open"_qs));
    bar.update(GetParam().mode, GetParam().special,
               GetParam().primary ? primary(u"Switch to Tab"_qs) : std::nullopt);
    EXPECT_EQ(bar.modeText(), GetParam().text);
    QStringList expected{
        (QStringList{u"Actions"_qs} + KeyCaps::of(Shortcut::actions())).join(u' ')};
    if (GetParam().primary)
        expected.prepend((QStringList{u"Switch to Tab"_qs} + KeyCaps::of(returnKey)).join(u' '));
    EXPECT_EQ(bar.hints(), expected);
    EXPECT_TRUE(ran.isEmpty());
}

const ActionBar::Special developer{u"Developer Tools"_qs,
                                   u"chevron.left.forwardslash.chevron.right"_qs};
INSTANTIATE_TEST_SUITE_P(
    Modes, ActionBarTest,
    ::testing::Values(BarCase{OpenMode::newTab, std::nullopt, true, u"Opens in new tab"_qs},
                      BarCase{OpenMode::currentTab, std::nullopt, true, u"Opens in current tab"_qs},
                      BarCase{OpenMode::currentTab, developer, true, u"Developer Tools"_qs},
                      BarCase{OpenMode::newTab, std::nullopt, false, u"Opens in new tab"_qs}));

} // namespace
} // namespace kivaro
