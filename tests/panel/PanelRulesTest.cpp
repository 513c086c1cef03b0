#include "panel/PanelRules.h"

#include "panel/PanelKeys.h"
#include "panel/RowActions.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using Titles = QList<std::optional<QString>>;
using enum Modifier;

Row row(Row::Kind kind, Action action = Action::open(u"https://a.example/"_s),
        QString url = u"https://a.example/"_s) {
    return {.kind = kind, .url = std::move(url), .title = u"A"_s, .action = action};
}

const Row tab = row(Row::Kind::tab, Action::switchTab(1, 2));
const Row history = row(Row::Kind::history);
const Row search = row(Row::Kind::search, Action::open(u"https://s/?q=a"_s), {});
const QString on = u"On YouTube"_s;

struct TitleCase {
    const char* name;
    PanelRules::TitleInput input;
    Titles titles;
};

class SectionTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(SectionTitles, FollowTopHitAndSections) {
    EXPECT_EQ(PanelRules::sectionTitles(GetParam().input), GetParam().titles);
}

const auto titled = [](const char* text) { return std::optional(QString::fromUtf8(text)); };

INSTANTIATE_TEST_SUITE_P(
    Cases, SectionTitles,
    ::testing::Values(
        TitleCase{"TwoSections", {{tab, history}, u"a"_qs}, {titled("Tabs"), titled("History")}},
        TitleCase{"CompletionMakesTopHit",
                  {{tab, history}, u"a"_qs, u"a.example"_qs},
                  {std::nullopt, titled("History")}},
        TitleCase{
            "OneSectionNoTitles", {{history, history}, u"a"_qs}, {std::nullopt, std::nullopt}},
        TitleCase{"SiteTopHitOneTitle",
                  {{search, search, history}, u"a"_qs, u"a.example"_qs, false, u"YouTube"_qs},
                  {std::nullopt, on, std::nullopt}},
        TitleCase{"SiteOneKindNoTitle",
                  {{search, search}, u"a"_qs, {}, false, u"YouTube"_qs},
                  {std::nullopt, std::nullopt}},
        TitleCase{"DevMode", {{tab, history}, u"a"_qs, {}, true}, {std::nullopt, std::nullopt}},
        TitleCase{"Ranked",
                  {{tab, history}, u"a"_qs, {}, false, {}, false},
                  {std::nullopt, std::nullopt}},
        TitleCase{"BlankQuery", {{tab, history}, u"  "_qs}, {std::nullopt, std::nullopt}},
        TitleCase{"OpenRowIsTopHit",
                  {{row(Row::Kind::open), tab, tab}, u"a"_qs},
                  {std::nullopt, titled("Tabs"), std::nullopt}}),
    [](const auto& info) { return info.param.name; });

TEST(PanelHeight, FieldOnlyOneRowAndMany) {
    EXPECT_EQ(PanelRules::panelHeight(0, 0), 156);
    EXPECT_EQ(PanelRules::panelHeight(1, 0), 428);
    EXPECT_EQ(PanelRules::panelHeight(10, 3), 46 * 10 + 18 + 26 * 3 + 116 + 96);
    // An open menu of five actions stays below the field's separator.
    EXPECT_EQ(PanelRules::panelHeight(1, 0, 235), 60 + 1 + 16 + 235 + 1 + 38 + 96);
    EXPECT_EQ(PanelRules::panelHeight(10, 0, 235), PanelRules::panelHeight(10, 0));
}

TEST(InlineCompletion, GrowsCaseBlindAndNeverOnDelete) {
    const auto completed = PanelRules::complete(u"YOU"_qs, 2, u"youtube.com"_qs);
    ASSERT_TRUE(completed);
    EXPECT_EQ(*completed, (PanelRules::Completed{u"YOUtube.com"_qs, 3, 8}));
    EXPECT_FALSE(PanelRules::complete(u"you"_qs, 4, u"youtube.com"_qs)); // deleted
    EXPECT_FALSE(PanelRules::complete(u"you"_qs, 3, u"youtube.com"_qs)); // same length
    EXPECT_FALSE(PanelRules::complete(u"yx"_qs, 1, u"youtube.com"_qs));
    EXPECT_FALSE(PanelRules::complete(u"youtube.com"_qs, 1, u"youtube.com"_qs));
    EXPECT_FALSE(PanelRules::complete(u"you"_qs, 2, std::nullopt));
}

TEST(ModePrefix, PercentDollarAndDev) {
    using Kind = PanelRules::ModePrefix::Kind;
    EXPECT_EQ(PanelRules::modePrefix(u"% cats "_qs),
              (PanelRules::ModePrefix{Kind::currentSite, u"cats"_qs}));
    EXPECT_EQ(PanelRules::modePrefix(u"$con"_qs),
              (PanelRules::ModePrefix{Kind::devTools, u"con"_qs}));
    EXPECT_EQ(PanelRules::modePrefix(u"DEV:"_qs), (PanelRules::ModePrefix{Kind::devTools, {}}));
    EXPECT_FALSE(PanelRules::modePrefix(u"dev"_qs));
    EXPECT_FALSE(PanelRules::modePrefix(u"a%"_qs));
}

TEST(TabKey, DevToolsSitesAndCompletion) {
    EXPECT_TRUE(std::holds_alternative<PanelRules::EnterDevTools>(
        PanelRules::tabTarget(u" Dev "_qs, true, std::nullopt)));
    EXPECT_FALSE(std::holds_alternative<PanelRules::EnterDevTools>(
        PanelRules::tabTarget(u"dev"_qs, false, std::nullopt)));
    EXPECT_EQ(PanelRules::tabHint(u"you"_qs, false, u"youtube.com"_qs), u"Search YouTube"_qs);
    EXPECT_EQ(PanelRules::tabHint(u"dev"_qs, true, std::nullopt), u"Developer Tools"_qs);
    EXPECT_FALSE(PanelRules::tabHint(u"qqqqzz"_qs, true, std::nullopt));
}

TEST(PanelKeys, TranslatesQtKeysOnce) {
    const KeyCombo copy =
        PanelKeys::press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(3)));
    EXPECT_EQ(copy, (KeyCombo{8, command | shift, u"c"_qs}));
    EXPECT_EQ(PanelKeys::modifiers(Qt::MetaModifier | Qt::AltModifier | Qt::KeypadModifier),
              control | option);
    EXPECT_EQ(PanelKeys::commandDigit(PanelKeys::press(Qt::Key_5, Qt::ControlModifier, {})), 5);
    EXPECT_FALSE(PanelKeys::commandDigit(PanelKeys::press(Qt::Key_0, Qt::ControlModifier, {})));
    EXPECT_FALSE(PanelKeys::commandDigit(PanelKeys::press(Qt::Key_5, Qt::MetaModifier, {})));
    EXPECT_EQ(PanelKeys::editing(
                  PanelKeys::press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, {})),
              PanelKeys::Edit::redo);
    EXPECT_EQ(PanelKeys::fieldCommand(PanelKeys::press(Qt::Key_Enter, Qt::KeypadModifier, {})),
              PanelKeys::FieldCommand::insertNewline);
    EXPECT_FALSE(PanelKeys::virtualKey(Qt::Key_F13));
}

TEST(PanelKeys, HintsWaitForTheirModifiers) {
    using Kind = PanelKeys::HintPlan::Kind;
    EXPECT_EQ(PanelKeys::hintFor(command), (PanelKeys::HintPlan{Kind::numbers, 200}));
    EXPECT_EQ(PanelKeys::hintFor(command | shift).kind, Kind::remove);
    EXPECT_EQ(PanelKeys::hintFor(command | option | control),
              (PanelKeys::HintPlan{Kind::remove, 400}));
    EXPECT_EQ(PanelKeys::hintFor(shift | option).kind, Kind::none);
    EXPECT_EQ(PanelKeys::hintFor(command | control).kind, Kind::none);
}

QStringList titlesOf(const Row& row, OpenMode mode) {
    QStringList titles;
    for (const RowActions::Entry& entry : RowActions::of(row, mode))
        titles.append(entry.title + (entry.danger ? u"!"_qs : QString()));
    return titles;
}

TEST(RowActionsTable, EachKindInOrder) {
    EXPECT_EQ(titlesOf(tab, OpenMode::newTab),
              (QStringList{u"Switch to Tab"_qs, u"Copy Link"_qs, u"Copy Markdown Link"_qs,
                           u"Pin or Unpin Tab"_qs, u"Close Tab!"_qs}));
    EXPECT_EQ(titlesOf(row(Row::Kind::tab, Action::revealTab(u"https://g/"_qs)), OpenMode::newTab),
              (QStringList{u"Switch to Tab"_qs, u"Open in This Group"_qs, u"Copy Link"_qs,
                           u"Copy Markdown Link"_qs}));
    EXPECT_EQ(titlesOf(history, OpenMode::currentTab),
              (QStringList{u"Open Here"_qs, u"Open in New Tab"_qs, u"Copy Link"_qs,
                           u"Copy Markdown Link"_qs, u"Remove from History!"_qs}));
    EXPECT_EQ(titlesOf(search, OpenMode::newTab), (QStringList{u"Search"_qs, u"Search Here"_qs}));
    EXPECT_EQ(
        titlesOf(row(Row::Kind::archived), OpenMode::newTab),
        (QStringList{u"Open"_qs, u"Open Here"_qs, u"Copy Link"_qs, u"Copy Markdown Link"_qs}));
    const QList<RowActions::Entry> command =
        RowActions::of(row(Row::Kind::command), OpenMode::newTab);
    ASSERT_EQ(command.size(), 1);
    EXPECT_EQ(command[0].symbol, u"play"_qs);
    EXPECT_EQ(titlesOf(row(Row::Kind::mode, Action::devMode()), OpenMode::newTab),
              QStringList{u"Enter Developer Tools"_qs});
}

TEST(RowActionsTable, ShortcutsLeavePlainReturnToTheField) {
    QStringList ran;
    const QList<RowAction> actions =
        RowActions::bind(RowActions::of(tab, OpenMode::newTab),
                         [&ran](const RowActions::Entry& entry) { ran.append(entry.title); });
    EXPECT_FALSE(RowActions::byShortcut(actions, RowActions::returnKey()));
    RowActions::byShortcut(actions, RowActions::copyLinkKey(true))->run();
    RowActions::firstDanger(actions)->run();
    EXPECT_EQ(ran, (QStringList{u"Copy Markdown Link"_qs, u"Close Tab"_qs}));
}

} // namespace
} // namespace kivaro
