#include "ui/PanelController.h"

#include "settings/Preferences.h"
#include "store/StoreFakes.h"
#include "support/WaitUntil.h"
#include "ui/ActionMenu.h"
#include "ui/CommandPanel.h"
#include "ui/PanelChrome.h"
#include "ui/RowView.h"
#include "ui/ShadowView.h"
#include "ui/TintView.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using testing::drainEvents;
using testing::FakeBrowser;
using testing::settle;
using testing::StoreWorld;
using testing::waitUntil;

const QString kivaro = u"https://kivaro.example/docs"_qs;

Command tool(const QString& title) {
    return {.title = title,
            .symbol = u"terminal"_qs,
            .action = Action::menu({u"Develop"_qs, title}),
            .core = true};
}

// A panel over a store driving a fake browser whose front tab is YouTube.
class PanelControllerTest : public ::testing::Test {
protected:
    struct Request {
        QString query;
        Suggestions::Done done;
    };

    PanelControllerTest() {
        browser->setWindow(1, {u"https://www.youtube.com/"_qs, kivaro, u"https://b.example/"_qs});
        browser->setCurrent(1, 1);
        browser->setHistory({{{u"https://news.example/a"_qs, u"Alpha news"_qs, 9,
                               QDateTime::currentDateTimeUtc().addDays(-1)}},
                             u"1 page"_qs});
        world.preferences->setSearchSuggestions(false);
        store = world.store({browser});
        PanelController::Services recorded = services();
        recorded.fetchSuggestions = fetch;
        panel = std::make_unique<PanelController>(recorded);
        panel->show(OpenMode::newTab);
        settle(*store);
    }

    PanelController::Services services() {
        return {.store = *store,
                .preferences = *world.preferences,
                .workspace = world.workspace,
                .pasteboard = world.pasteboard,
                .toast = world.toast};
    }
    QLineEdit& field() { return panel->field(); }
    void type(const QString& text) { QTest::keyClicks(&field(), text); }
    void press(int key, Qt::KeyboardModifiers modifiers = {}, QWidget* to = nullptr) {
        QTest::keyClick(to ? to : &field(), Qt::Key(key), modifiers);
    }
    qsizetype rowOf(Row::Kind kind) const {
        const auto& rows = panel->rows();
        return std::find_if(rows.begin(), rows.end(),
                            [&](const Row& r) { return r.kind == kind; }) -
               rows.begin();
    }
    // Types `query` and moves the selection down to the first history row.
    void selectHistory(const QString& query) {
        type(query);
        ASSERT_LT(rowOf(Row::Kind::history), panel->rows().size());
        for (qsizetype i = rowOf(Row::Kind::history); i > 0; --i)
            press(Qt::Key_Down);
    }

    StoreWorld world;
    std::shared_ptr<FakeBrowser> browser =
        std::make_shared<FakeBrowser>(u"com.google.Chrome"_qs, u"Chrome"_qs);
    std::unique_ptr<Store> store;
    QList<Request> requests;
    // Records each request; its reply comes when the test calls `done`.
    PanelController::FetchSuggestions fetch = [this](const QString& query, const SuggestSource&,
                                                     const QString&, Suggestions::Done done) {
        requests.append({query, std::move(done)});
        return std::optional<SuggestionTask>();
    };
    std::unique_ptr<PanelController> panel;
};

TEST_F(PanelControllerTest, InlineCompletionGrowsDeletesAndTabAcceptsIt) {
    type(u"kiv"_qs);
    const QString completed = field().text();
    ASSERT_TRUE(completed.startsWith(u"kiv"_qs) && completed.size() > 3) << completed.toStdString();
    EXPECT_EQ(field().selectedText(), completed.mid(3));
    press(Qt::Key_Backspace);
    EXPECT_EQ(field().text(), u"kiv"_qs);
    type(u"a"_qs);
    EXPECT_EQ(field().text(), completed);
    press(Qt::Key_Tab);
    EXPECT_FALSE(panel->inMode());
    EXPECT_EQ(panel->typed(), completed);
    EXPECT_FALSE(field().hasSelectedText());
}

TEST_F(PanelControllerTest, DevToolsByTabAndPrefixesLeftByEscAndDelete) {
    type(u"$x"_qs); // no developer tools: the text stays a query
    EXPECT_FALSE(panel->inMode());
    store->devTools = {tool(u"Console"_qs)};
    press(Qt::Key_Backspace, Qt::ShiftModifier);
    type(u"dev"_qs);
    EXPECT_EQ(panel->tabHintText(), u"Developer Tools"_qs);
    press(Qt::Key_Tab);
    EXPECT_TRUE(panel->devMode());
    press(Qt::Key_Escape);
    EXPECT_FALSE(panel->inMode());
    type(u"dev:co"_qs); // the prefixes themselves are PanelRules' (ModePrefix)
    EXPECT_TRUE(panel->devMode());
    EXPECT_EQ(panel->typed(), u"co"_qs);
    press(Qt::Key_Backspace, Qt::ShiftModifier); // clears, stays in the mode
    EXPECT_TRUE(panel->devMode());
    press(Qt::Key_Delete);
    EXPECT_FALSE(panel->inMode());
    press(Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(PanelControllerTest, SiteModeByPercentAndTabAndOpeningResetsIt) {
    type(u"%cats"_qs);
    ASSERT_TRUE(panel->site());
    EXPECT_EQ(panel->site()->name, u"YouTube"_qs);
    EXPECT_EQ(panel->typed(), u"cats"_qs);
    press(Qt::Key_Backspace, Qt::ShiftModifier);
    press(Qt::Key_Backspace);
    EXPECT_FALSE(panel->inMode());
    type(u"youtube"_qs);
    press(Qt::Key_Tab);
    EXPECT_TRUE(panel->site());
    panel->show(OpenMode::currentTab); // the other mode re-opens, reset
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->inMode());
    EXPECT_EQ(field().text(), u"https://www.youtube.com/"_qs);
    panel->show(OpenMode::currentTab); // the same mode closes
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(PanelControllerTest, CommandDigitPastTheRowsBeepsWithinRuns) {
    type(u"kivaro"_qs);
    ASSERT_LT(panel->rows().size(), 9);
    press(Qt::Key_9, Qt::ControlModifier);
    EXPECT_EQ(world.workspace.beeps(), 1);
    EXPECT_TRUE(panel->isVisible());
    press(Qt::Key_1, Qt::ControlModifier);
    EXPECT_FALSE(panel->isVisible());
    settle(*store);
    EXPECT_EQ(browser->front()->url, kivaro);
}

TEST_F(PanelControllerTest, ActionMenuOpensClosesAndRuns) {
    type(u"kivaro"_qs);
    ASSERT_EQ(panel->rows().value(0).url, kivaro);
    ActionMenu* menu = &panel->actionMenu();
    press(Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(panel->menuOpen());
    EXPECT_EQ(menu->shown().value(4).title, u"Close Tab"_qs);
    press(Qt::Key_C, Qt::ControlModifier, menu); // editing keys do not reach the field
    EXPECT_EQ(world.pasteboard.writes, 0);
    press(Qt::Key_K, Qt::ControlModifier, menu);
    EXPECT_FALSE(panel->menuOpen());
    press(Qt::Key_K, Qt::ControlModifier);
    press(Qt::Key_Escape, {}, menu);
    EXPECT_FALSE(panel->menuOpen());
    EXPECT_TRUE(panel->isVisible());
    press(Qt::Key_K, Qt::ControlModifier);
    press(Qt::Key_Down, {}, menu);
    press(Qt::Key_Return, {}, menu);
    EXPECT_FALSE(panel->isVisible());
    ASSERT_TRUE(world.pasteboard.content);
    EXPECT_EQ(world.pasteboard.content->text, kivaro);
}

TEST_F(PanelControllerTest, SuggestionsAskedOnlyWhenSwitchedOnAndALateReplyIsDropped) {
    type(u"g"_qs);
    QTest::qWait(3 * PanelController::suggestionPauseMs);
    EXPECT_TRUE(requests.isEmpty()) << "switched off";
    world.preferences->setSearchSuggestions(true);
    type(u"i"_qs);
    ASSERT_TRUE(waitUntil([&] { return requests.size() == 1; }));
    type(u"t"_qs);
    ASSERT_TRUE(waitUntil([&] { return requests.size() == 2; }));
    requests[0].done({u"gin tonic"_qs});
    EXPECT_TRUE(panel->suggestions().isEmpty());
    requests[1].done({u"git rebase"_qs});
    EXPECT_EQ(panel->suggestions(), QStringList{u"git rebase"_qs});
    EXPECT_TRUE(std::any_of(panel->rows().begin(), panel->rows().end(),
                            [](const Row& row) { return row.title == u"git rebase"_qs; }));
    type(u" log"_qs); // faster than the pause: one request
    ASSERT_TRUE(waitUntil([&] { return requests.size() == 3; }));
    drainEvents();
    EXPECT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[2].query, u"git log"_qs);
}

TEST_F(PanelControllerTest, RemovingAHistoryRowHidesItAcrossARestart) {
    selectHistory(u"alpha"_qs);
    press(Qt::Key_Backspace, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(rowOf(Row::Kind::history), panel->rows().size());
    EXPECT_TRUE(store->hidden.contains(u"news.example/a"_qs));
    EXPECT_TRUE(world.store({browser})->hidden.contains(u"news.example/a"_qs));
    press(Qt::Key_Backspace, Qt::ControlModifier | Qt::ShiftModifier); // a search row: nothing
    EXPECT_EQ(world.workspace.beeps(), 1);
}

TEST_F(PanelControllerTest, HeldModifiersNumberRowsOrOfferRemovalAndCommandReturnOpensHere) {
    type(u"kivaro"_qs);
    panel->modifiersChanged(Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return panel->numberHint(); }));
    EXPECT_TRUE(panel->rowViews().value(0)->numberCaps());
    panel->modifiersChanged(Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return panel->removeHint(); }));
    EXPECT_FALSE(panel->numberHint());
    EXPECT_TRUE(panel->actionBar().hints().value(0).startsWith(u"Close Tab "_qs));
    EXPECT_EQ(panel->rowViews().value(0)->labelText(), u"Close Tab"_qs);
    panel->modifiersChanged({});
    EXPECT_TRUE(panel->actionBar().hints().value(0).startsWith(u"Switch to Tab "_qs));
    press(Qt::Key_Backspace, Qt::ShiftModifier);
    selectHistory(u"alpha"_qs);
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(panel->isVisible());
    settle(*store);
    EXPECT_EQ(browser->callsNamed(u"open https://news.example/a currentTab"_qs), 1);
}

TEST_F(PanelControllerTest, WithoutACompositorEachOpeningCutsTheWindowToThePanel) {
    const PanelChrome& chrome = panel->chrome();
    for (const bool compositing : {false, true, false}) {
        SCOPED_TRACE(compositing);
        world.workspace.setCompositing(compositing);
        panel->close();
        panel->show(OpenMode::newTab);
        EXPECT_EQ(panel->window().mask().isEmpty(), compositing);
        EXPECT_EQ(chrome.shadow().isVisibleTo(&chrome), compositing);
        EXPECT_EQ(chrome.surface().isCut(), !compositing);
    }
    store->devTools = {tool(u"Console"_qs)};
    panel->enterDevMode(); // the cut follows the height
    ASSERT_EQ(panel->rows().size(), 1);
    const QRect shape = panel->window().rect().adjusted(48, 48, -48, -48);
    const QRegion mask = panel->window().mask();
    EXPECT_EQ(mask.boundingRect(), shape);
    EXPECT_FALSE(mask.contains(shape.topLeft())) << "the corners are rounded";
}

TEST_F(PanelControllerTest, EmbeddedPanelIsScriptedAndHandsReturnToItsHost) {
    PanelController demo(services(), true);
    QSize reported;
    int returns = 0;
    demo.onResize = [&](QSize size) { reported = size; };
    demo.onReturn = [&] { ++returns; };
    ASSERT_TRUE(demo.embeddedView());
    demo.show(OpenMode::newTab);
    demo.type(u"youtube"_qs);
    EXPECT_EQ(reported, QSize(776, demo.panelHeight()));
    EXPECT_EQ(demo.embeddedView()->size(), reported);
    demo.pressTab();
    ASSERT_TRUE(demo.site());
    QTest::keyClick(&demo.field(), Qt::Key_Return);
    EXPECT_EQ(returns, 1);
    settle(*store);
    EXPECT_EQ(browser->callsNamed(u"open"_qs), 0);
}

} // namespace
} // namespace kivaro
