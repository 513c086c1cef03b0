#include "panel/PanelRules.h"

#include "panel/PanelKeys.h"
#include "panel/RowActions.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

using enum Modifier;

Row row(Row::Kind kind, Action action = Action::open(u"https://a.example/"_s),
        QString url = u"https://a.example/"_s) {
    return {.kind = kind, .url = std::move(url), .title = u"A"_s, .action = action};
}

const Row tab = row(Row::Kind::tab, Action::switchTab(1, 2));
const Row history = row(Row::Kind::history);
const Row search = row(Row::Kind::search, Action::open(u"https://s/?q=a"_s), {});

struct TitleCase {
    PanelRules::TitleInput input;
    const char* titles; // one entry a row, "-" for none
};

class SectionTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(SectionTitles, FollowTopHitAndSections) {
    QStringList titles;
    for (const std::optional<QString>& title : PanelRules::sectionTitles(GetParam().input))
        titles.append(title.value_or(u"-"_s));
    EXPECT_EQ(titles.join(u','), QString::fromUtf8(GetParam().titles));
}

const QString yt = u"YouTube"_s;
const QString completion = u"a.example"_s;
INSTANTIATE_TEST_SUITE_P(
    Cases, SectionTitles,
    ::testing::Values(TitleCase{{{tab, history}, u"a"_s}, "Tabs,History"},
                      TitleCase{{{tab, history}, u"a"_s, completion}, "-,History"},
                      TitleCase{{{history, history}, u"a"_s}, "-,-"},
                      TitleCase{{{search, search, history}, u"a"_s, completion, false, yt},
                                "-,On YouTube,-"},
                      TitleCase{{{search, search}, u"a"_s, {}, false, yt}, "-,-"},
                      TitleCase{{{tab, history}, u"a"_s, {}, true}, "-,-"}, // developer tools
                      TitleCase{{{tab, history}, u"a"_s, {}, false, {}, false}, "-,-"}, // ranked
                      TitleCase{{{tab, history}, u"  "_s}, "-,-"},
                      TitleCase{{{row(Row::Kind::open), tab, tab}, u"a"_s}, "-,Tabs,-"}));

TEST(PanelHeight, FieldOnlyOneRowAndMany) {
    EXPECT_EQ(PanelRules::panelHeight(0, 0), 156);
    EXPECT_EQ(PanelRules::panelHeight(1, 0), 428);
    EXPECT_EQ(PanelRules::panelHeight(10, 3), 46 * 10 + 18 + 26 * 3 + 116 + 96);
    // An open menu of five actions stays below the field's separator.
    EXPECT_EQ(PanelRules::panelHeight(1, 0, 235), 60 + 1 + 16 + 235 + 1 + 38 + 96);
    EXPECT_EQ(PanelRules::panelHeight(10, 0, 235), PanelRules::panelHeight(10, 0));
}

TEST(InlineCompletion, GrowsCaseBlindAndNeverOnDelete) {
    EXPECT_EQ(PanelRules::complete(u"YOU"_s, 2, u"youtube.com"_s),
              (PanelRules::Completed{u"YOUtube.com"_s, 3, 8}));
    EXPECT_FALSE(PanelRules::complete(u"you"_s, 4, u"youtube.com"_s)); // deleted
    EXPECT_FALSE(PanelRules::complete(u"you"_s, 3, u"youtube.com"_s)); // same length
    EXPECT_FALSE(PanelRules::complete(u"yx"_s, 1, u"youtube.com"_s));
    EXPECT_FALSE(PanelRules::complete(u"youtube.com"_s, 1, u"youtube.com"_s));
    EXPECT_FALSE(PanelRules::complete(u"you"_s, 2, std::nullopt));
}

TEST(ModePrefix, PercentDollarAndDevAndTheTabKey) {
    using Prefix = PanelRules::ModePrefix;
    EXPECT_EQ(PanelRules::modePrefix(u"% cats "_s), (Prefix{Prefix::Kind::currentSite, u"cats"_s}));
    EXPECT_EQ(PanelRules::modePrefix(u"$con"_s), (Prefix{Prefix::Kind::devTools, u"con"_s}));
    EXPECT_EQ(PanelRules::modePrefix(u"DEV:"_s), (Prefix{Prefix::Kind::devTools, {}}));
    EXPECT_FALSE(PanelRules::modePrefix(u"dev"_s));
    EXPECT_FALSE(PanelRules::modePrefix(u"a%"_s));
    using Enter = PanelRules::EnterDevTools;
    EXPECT_TRUE(std::holds_alternative<Enter>(PanelRules::tabTarget(u" Dev "_s, true, {})));
    EXPECT_FALSE(std::holds_alternative<Enter>(PanelRules::tabTarget(u"dev"_s, false, {})));
    EXPECT_EQ(PanelRules::tabHint(u"you"_s, false, u"youtube.com"_s), u"Search YouTube"_s);
    EXPECT_EQ(PanelRules::tabHint(u"dev"_s, true, std::nullopt), u"Developer Tools"_s);
    EXPECT_FALSE(PanelRules::tabHint(u"qqqqzz"_s, true, std::nullopt));
}

TEST(PanelKeys, TranslatesQtKeysOnce) {
    const auto press = [](int key, Qt::KeyboardModifiers modifiers) {
        return PanelKeys::press(key, modifiers, {});
    };
    const KeyCombo copy =
        PanelKeys::press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(3)));
    EXPECT_EQ(copy, (KeyCombo{8, command | shift, u"c"_s}));
    EXPECT_EQ(PanelKeys::modifiers(Qt::MetaModifier | Qt::AltModifier | Qt::KeypadModifier),
              control | option);
    EXPECT_EQ(PanelKeys::commandDigit(press(Qt::Key_5, Qt::ControlModifier)), 5);
    EXPECT_FALSE(PanelKeys::commandDigit(press(Qt::Key_0, Qt::ControlModifier)));
    EXPECT_FALSE(PanelKeys::commandDigit(press(Qt::Key_5, Qt::MetaModifier)));
    EXPECT_EQ(PanelKeys::editing(press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier)),
              PanelKeys::Edit::redo);
    EXPECT_EQ(PanelKeys::fieldCommand(press(Qt::Key_Enter, Qt::KeypadModifier)),
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

// The actions of a row in order, a dangerous one marked "!", the command's symbol in brackets.
QString actionsOf(const Row& row, OpenMode mode = OpenMode::newTab) {
    QStringList titles;
    for (const RowActions::Entry& entry : RowActions::of(row, mode))
        titles.append(entry.title + (entry.danger ? u"!"_s : QString()) +
                      (row.kind == Row::Kind::command ? u'(' + entry.symbol + u')' : QString()));
    return titles.join(u',');
}

TEST(RowActionsTable, EachKindInOrder) {
    EXPECT_EQ(actionsOf(tab),
              u"Switch to Tab,Copy Link,Copy Markdown Link,Pin or Unpin Tab,Close Tab!"_s);
    EXPECT_EQ(actionsOf(row(Row::Kind::tab, Action::revealTab(u"https://g/"_s))),
              u"Switch to Tab,Open in This Group,Copy Link,Copy Markdown Link"_s);
    EXPECT_EQ(actionsOf(history, OpenMode::currentTab),
              u"Open Here,Open in New Tab,Copy Link,Copy Markdown Link,Remove from History!"_s);
    EXPECT_EQ(actionsOf(search), u"Search,Search Here"_s);
    EXPECT_EQ(actionsOf(row(Row::Kind::archived)),
              u"Open,Open Here,Copy Link,Copy Markdown Link"_s);
    EXPECT_EQ(actionsOf(row(Row::Kind::command)), u"Run(play)"_s);
    EXPECT_EQ(actionsOf(row(Row::Kind::mode, Action::devMode())), u"Enter Developer Tools"_s);
}

TEST(RowActionsTable, ShortcutsLeavePlainReturnToTheField) {
    QStringList ran;
    const QList<RowAction> actions =
        RowActions::bind(RowActions::of(tab, OpenMode::newTab),
                         [&ran](const RowActions::Entry& entry) { ran.append(entry.title); });
    EXPECT_FALSE(RowActions::byShortcut(actions, RowActions::returnKey()));
    RowActions::byShortcut(actions, RowActions::copyLinkKey(true))->run();
    RowActions::firstDanger(actions)->run();
    EXPECT_EQ(ran, (QStringList{u"Copy Markdown Link"_s, u"Close Tab"_s}));
}

} // namespace
} // namespace kivaro
