#include "ui/RowView.h"

#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "support/Files.h"
#include "support/LocalHttpServer.h"
#include "support/RowActions.h"

#include <QAccessible>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::loggedAction;

Row row(Row::Kind kind, const QString& url, Action action = Action::open({})) {
    return {.kind = kind,
            .url = url,
            .title = u"Title"_qs,
            .label = u"Switch to Tab"_qs,
            .action = std::move(action)};
}

// "label|arrow symbol|keys or number", the number caps replacing the shortcut keys.
QString render(const RowView& view) {
    const bool keys = view.shortcutKeys()->isVisibleTo(&view);
    const bool number = view.numberCaps() != nullptr;
    return view.labelText() + u'|' +
           (view.look().showsArrow ? view.look().arrowSymbol : QString()) + u'|' +
           (keys == number ? u"both or neither"_qs
            : keys         ? u"keys"_qs
                           : u"number"_qs);
}

struct AccessoryCase {
    const char* name;
    Row row;
    bool removeHint;
    std::optional<int> number;
    QString shown;
    friend void PrintTo(const AccessoryCase& c, std::ostream* out) { *out << c.name; }
};

class RowAccessoryTest : public ::testing::TestWithParam<AccessoryCase> {};

TEST_P(RowAccessoryTest, ShowsLabelArrowOrNumberByKindAndHint) {
    Row shown = GetParam().row;
    shown.keys = {u"⌘"_qs, u"N"_qs};
    RowView view(shown, Colors::brand(), nullptr);
    view.resize(664, RowView::height);
    view.setRemoveHint(GetParam().removeHint);
    view.setNumber(GetParam().number);
    EXPECT_EQ(render(view), GetParam().shown);
    view.setNumber(std::nullopt);
    view.setRemoveHint(false);
    EXPECT_TRUE(render(view).endsWith(u"|keys"_qs)) << "no caps left behind";
}

const Row tab = row(Row::Kind::tab, u"https://a.test/"_qs, Action::switchTab(1, 2));
const Row groupTab = row(Row::Kind::tab, u"https://a.test/"_qs, Action::revealTab(u"x"_qs));
const Row page = row(Row::Kind::history, u"https://a.test/"_qs);

INSTANTIATE_TEST_SUITE_P(
    Rows, RowAccessoryTest,
    ::testing::Values(
        AccessoryCase{"Tab", tab, false, {}, u"Switch to Tab|arrow.right|keys"_qs},
        AccessoryCase{"TabRemove", tab, true, {}, u"Close Tab|xmark|keys"_qs},
        AccessoryCase{"GroupTabRemove", groupTab, true, {}, u"Switch to Tab|arrow.right|keys"_qs},
        AccessoryCase{"History", page, false, {}, u"||keys"_qs},
        AccessoryCase{"HistoryRemove", page, true, {}, u"Remove from History|trash|keys"_qs},
        AccessoryCase{"OpenWithoutAddress", row(Row::Kind::open, {}), true, {}, u"||keys"_qs},
        AccessoryCase{"Search", row(Row::Kind::search, {}), true, {}, u"||keys"_qs},
        AccessoryCase{"Number", page, false, 3, u"||number"_qs},
        // The remove hint wins over the number on a removable row, not on others.
        AccessoryCase{"RemoveKeepsItsLabel", page, true, 2, u"Remove from History|trash|keys"_qs},
        AccessoryCase{"NumberOnUnremovable", groupTab, true, 4, u"||number"_qs}),
    [](const auto& info) { return info.param.name; });

TEST(RowViewTest, ShowsAStandBySymbolUntilTheFaviconArrives) {
    testing::LocalHttpServer server;
    server.answer("/favicon.ico",
                  {.body = testing::readFile(testing::fixturePath(u"favicon-red.png"_qs)),
                   .contentType = "image/png"});
    QTemporaryDir folder;
    Favicons favicons(folder.path());
    Row history = row(Row::Kind::history, u"https://x/"_qs);
    history.host = server.host();
    Row archived = history;
    archived.kind = Row::Kind::archived;
    RowView waiting(history, Colors::brand(), &favicons);
    auto discarded = std::make_unique<RowView>(archived, Colors::brand(), &favicons);
    EXPECT_EQ(waiting.iconSymbol(), u"clock"_qs);
    EXPECT_EQ(discarded->iconSymbol(), u"archivebox"_qs);
    discarded.reset(); // a view discarded by a newer render drops its icon
    ASSERT_TRUE(testing::waitUntil([&] { return waiting.hasFavicon(); }));
    EXPECT_EQ(waiting.iconSymbol(), QString());
    EXPECT_TRUE(RowView(history, Colors::brand(), &favicons).hasFavicon()) << "known: at once";
    EXPECT_EQ(RowView(row(Row::Kind::tab, {}), Colors::brand(), &favicons).iconSymbol(),
              u"globe"_qs);
}

TEST(RowViewTest, IsAnAccessibleButtonWithAContextMenuOfItsActions) {
    Row shown = tab;
    shown.detail = u"a.test"_qs;
    RowView view(shown, Colors::brand(), nullptr);
    int clicks = 0;
    view.onClick = [&clicks] { ++clicks; };
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&view);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), u"Title, a.test"_qs);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(view.contextMenu(), nullptr);
    QStringList ran;
    view.actions = [&ran] {
        return QList<RowAction>{loggedAction(u"Close Tab"_qs, ran, true),
                                loggedAction(u"Switch to Tab"_qs, ran),
                                loggedAction(u"Copy Link"_qs, ran)};
    };
    const std::unique_ptr<QMenu> menu = view.contextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* item : menu->actions())
        items.append(item->isSeparator() ? u"-"_qs : item->text());
    EXPECT_EQ(items, (QStringList{u"Switch to Tab"_qs, u"Copy Link"_qs, u"-"_qs, u"Close Tab"_qs}));
    menu->actions().constLast()->trigger();
    EXPECT_EQ(ran, QStringList{u"Close Tab"_qs});
}

} // namespace
} // namespace kivaro
