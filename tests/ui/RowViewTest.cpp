#include "ui/RowView.h"

#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "support/LocalHttpServer.h"
#include "support/RowActions.h"

#include <QAccessible>
#include <QBuffer>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::loggedAction;

Row row(Row::Kind kind, const QString& url, Action action = Action::open({})) {
    Row made;
    made.kind = kind;
    made.url = url;
    made.title = u"Title"_qs;
    made.label = u"Switch to Tab"_qs;
    made.action = std::move(action);
    return made;
}

struct AccessoryCase {
    const char* name;
    Row row;
    bool removeHint;
    std::optional<int> number;
    QString label; // "" when hidden
    bool arrow;
    QString arrowSymbol;
    bool numberCaps;
};

class RowAccessoryTest : public ::testing::TestWithParam<AccessoryCase> {};

TEST_P(RowAccessoryTest, ShowsLabelArrowOrNumberByKindAndHint) {
    const AccessoryCase& given = GetParam();
    Row shown = given.row;
    shown.keys = {u"⌘"_qs, u"N"_qs};
    RowView view(shown, Colors::brand(), nullptr);
    view.resize(664, RowView::height);
    view.setRemoveHint(given.removeHint);
    view.setNumber(given.number);
    EXPECT_EQ(view.labelText(), given.label);
    EXPECT_EQ(view.look().showsArrow, given.arrow);
    if (given.arrow) {
        EXPECT_EQ(view.look().arrowSymbol, given.arrowSymbol);
    }
    EXPECT_EQ(view.numberCaps() != nullptr, given.numberCaps);
    EXPECT_EQ(view.shortcutKeys()->isVisibleTo(&view), !given.numberCaps);
    // Back to plain: no caps left behind.
    view.setNumber(std::nullopt);
    view.setRemoveHint(false);
    EXPECT_EQ(view.numberCaps(), nullptr);
    EXPECT_TRUE(view.shortcutKeys()->isVisibleTo(&view));
}

const Row tab = row(Row::Kind::tab, u"https://a.test/"_qs, Action::switchTab(1, 2));
const Row groupTab = row(Row::Kind::tab, u"https://a.test/"_qs, Action::revealTab(u"x"_qs));
const Row page = row(Row::Kind::history, u"https://a.test/"_qs);
const Row typed = row(Row::Kind::open, {});

INSTANTIATE_TEST_SUITE_P(
    Rows, RowAccessoryTest,
    ::testing::Values(
        AccessoryCase{"Tab", tab, false, {}, u"Switch to Tab"_qs, true, u"arrow.right"_qs, false},
        AccessoryCase{"TabRemove", tab, true, {}, u"Close Tab"_qs, true, u"xmark"_qs, false},
        AccessoryCase{"GroupTabRemove",
                      groupTab,
                      true,
                      {},
                      u"Switch to Tab"_qs,
                      true,
                      u"arrow.right"_qs,
                      false},
        AccessoryCase{"History", page, false, {}, {}, false, {}, false},
        AccessoryCase{
            "HistoryRemove", page, true, {}, u"Remove from History"_qs, true, u"trash"_qs, false},
        AccessoryCase{"OpenWithoutAddress", typed, true, {}, {}, false, {}, false},
        AccessoryCase{"Search", row(Row::Kind::search, {}), true, {}, {}, false, {}, false},
        AccessoryCase{"Number", page, false, 3, {}, false, {}, true},
        // The remove hint wins over the number on a removable row, not on others.
        AccessoryCase{"RemoveKeepsItsLabel", page, true, 2, u"Remove from History"_qs, true,
                      u"trash"_qs, false},
        AccessoryCase{"NumberOnUnremovable", groupTab, true, 4, {}, false, {}, true}),
    [](const auto& info) { return info.param.name; });

QByteArray png(const QColor& colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

TEST(RowViewTest, ShowsAStandBySymbolUntilTheFaviconArrives) {
    testing::LocalHttpServer server;
    server.answer("/favicon.ico", {.body = png(Qt::red), .contentType = "image/png"});
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
    EXPECT_FALSE(waiting.hasFavicon());
    // A view discarded by a newer render drops its icon.
    discarded.reset();
    ASSERT_TRUE(testing::waitUntil([&] { return waiting.hasFavicon(); }));
    EXPECT_EQ(waiting.iconSymbol(), QString());
    // Known icons show at once; rows without a host show the globe.
    EXPECT_TRUE(RowView(history, Colors::brand(), &favicons).hasFavicon());
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
    EXPECT_EQ(button->text(QAccessible::Help), u"Switch to Tab"_qs);
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
    EXPECT_FALSE(menu->actions().constLast()->icon().isNull());
    menu->actions().constLast()->trigger();
    EXPECT_EQ(ran, QStringList{u"Close Tab"_qs});
}

} // namespace
} // namespace kivaro
