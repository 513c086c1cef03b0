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

struct MenuCase {
    const char* name;
    QList<bool> danger; // one entry an action
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
    menu.resize(ActionMenu::width, 300);
    menu.present(u"Row"_qs, actions);
    EXPECT_EQ(menu.preferredHeight(), GetParam().height);
    QStringList order;
    for (const RowAction& action : menu.shown())
        order.append(action.title);
    EXPECT_EQ(order, GetParam().order);
    EXPECT_EQ(menu.separatorBefore(), GetParam().separator);
    EXPECT_EQ(menu.items().size(), actions.size());
    if (GetParam().separator) {
        const QWidget* before = menu.items()[*GetParam().separator - 1];
        EXPECT_EQ(menu.items()[*GetParam().separator]->y() - before->y() - before->height(),
                  2 + 11);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MenuHeightTest,
    ::testing::Values(
        // A tab row with pin and close: four actions, then "Close Tab".
        MenuCase{"TabWithPinAndClose",
                 {true, false, false, false, false},
                 235,
                 {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"0"_qs},
                 4},
        MenuCase{"Command", {false}, 80, {u"0"_qs}, std::nullopt},
        MenuCase{"NoActions", {}, 80, {}, std::nullopt},
        MenuCase{"DangerOnly", {true, true}, 116, {u"0"_qs, u"1"_qs}, std::nullopt}),
    [](const auto& info) { return info.param.name; });

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
    EXPECT_EQ(menu.selected(), 0);
    EXPECT_TRUE(menu.items()[0]->isSelected());
    pressKey(menu, Qt::Key_Up);
    EXPECT_EQ(menu.selected(), 2);
    EXPECT_TRUE(menu.items()[2]->isSelected());
    EXPECT_FALSE(menu.items()[0]->isSelected());
    pressKey(menu, Qt::Key_Down);
    EXPECT_EQ(menu.selected(), 0);
    menu.move(-4);
    EXPECT_EQ(menu.selected(), 2);
    pressKey(menu, Qt::Key_Return);
    EXPECT_EQ(ran, QStringList{u"Close Tab"_qs});
    pressKey(menu, Qt::Key_Down);
    pressKey(menu, Qt::Key_Enter);
    EXPECT_EQ(ran, (QStringList{u"Close Tab"_qs, u"Switch to Tab"_qs}));
    EXPECT_TRUE(pressKey(menu, Qt::Key_Escape));
    EXPECT_EQ(dismissed, 1);
    // Other keys go on to the panel.
    EXPECT_FALSE(pressKey(menu, Qt::Key_A));

    // An empty menu ignores the keys that need an action.
    menu.present(u"Nothing"_qs, {});
    menu.move(1);
    pressKey(menu, Qt::Key_Return);
    EXPECT_EQ(ran.size(), 2);
}

TEST_F(ActionMenuTest, HoverSelectsAndAClickRunsEvenWhenTheActionRefillsTheMenu) {
    ActionItemView* copy = menu.items()[1];
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, {}, {});
    QApplication::sendEvent(copy, &move);
    EXPECT_EQ(menu.selected(), 1);
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(copy);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_EQ(item->text(QAccessible::Name), u"Copy Link"_qs);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&menu)->role(), QAccessible::PopupMenu);
    // The action refills the menu from inside the item's own click.
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
    EXPECT_EQ(Keycap::spoken({u"⇧"_qs, u"⌘"_qs, u"P"_qs}), u"Shift Command P"_qs);
    EXPECT_EQ(Keycap::spoken({u"⌃"_qs, u"⌥"_qs, u"↩"_qs, u"⌫"_qs, u"⇥"_qs}),
              u"Control Option Return Delete Tab"_qs);
    EXPECT_EQ(Keycap::spoken({u"Ctrl"_qs, u"Shift"_qs, u"C"_qs}), u"Ctrl Shift C"_qs);
    std::unique_ptr<QWidget> caps(Keycap::row({u"⇧"_qs, u"⌘"_qs, u"P"_qs}));
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(caps.get());
    EXPECT_EQ(row->role(), QAccessible::StaticText);
    EXPECT_EQ(row->text(QAccessible::Name), u"Shift Command P"_qs);
    EXPECT_EQ(row->childCount(), 0);
    // Three caps of at least 20, 3 apart; a long key name widens its cap.
    EXPECT_EQ(caps->size(), QSize(66, 20));
    std::unique_ptr<QWidget> tab(Keycap::make(u"Tab"_qs));
    EXPECT_EQ(tab->height(), 20);
    EXPECT_GT(tab->width(), 20);
}

struct BarCase {
    const char* name;
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
    bar.update(OpenMode::newTab, std::nullopt, loggedAction(u"Open"_qs, ran, false, returnKey));
    bar.update(GetParam().mode, GetParam().special,
               GetParam().primary
                   ? std::optional(loggedAction(u"Switch to Tab"_qs, ran, false, returnKey))
                   : std::nullopt);
    EXPECT_EQ(bar.modeText(), GetParam().text);
    const QString actions =
        (QStringList{u"Actions"_qs} + KeyCaps::of(Shortcut::actions())).join(u' ');
    const QStringList expected =
        GetParam().primary
            ? QStringList{(QStringList{u"Switch to Tab"_qs} + KeyCaps::of(returnKey)).join(u' '),
                          actions}
            : QStringList{actions};
    EXPECT_EQ(bar.hints(), expected);
    EXPECT_TRUE(ran.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ActionBarTest,
    ::testing::Values(
        BarCase{"NewTab", OpenMode::newTab, std::nullopt, true, u"Opens in new tab"_qs},
        BarCase{"CurrentTab", OpenMode::currentTab, std::nullopt, true, u"Opens in current tab"_qs},
        BarCase{"DeveloperTools", OpenMode::currentTab,
                ActionBar::Special{u"Developer Tools"_qs,
                                   u"chevron.left.forwardslash.chevron.right"_qs},
                true, u"Developer Tools"_qs},
        BarCase{"NoActions", OpenMode::newTab, std::nullopt, false, u"Opens in new tab"_qs}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace kivaro
