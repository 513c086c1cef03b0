#include "search/Ranking.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

QList<ResultSection> sections(std::initializer_list<ResultSection::Value> values) {
    QList<ResultSection> list;
    for (auto value : values)
        list.append(value);
    return list;
}

TEST(ResultSectionTest, OrderedKeepsFirstPositionsAndAppendsTheMissingSections) {
    EXPECT_EQ(ResultSection::ordered({u"search"_s, u"sideways"_s, u"search"_s, u"tabs"_s}),
              sections({ResultSection::search, ResultSection::tabs, ResultSection::history,
                        ResultSection::commands}));
    EXPECT_EQ(ResultSection::ordered({}), ResultSection::allCases());
    EXPECT_EQ(ResultSection::ordered({u"commands"_s, u"history"_s, u"search"_s, u"tabs"_s}),
              sections({ResultSection::commands, ResultSection::history, ResultSection::search,
                        ResultSection::tabs}));
    // Raw values are case-sensitive, as stored.
    EXPECT_EQ(ResultSection::ordered({u"Tabs"_s, u"HISTORY"_s, u""_s}), ResultSection::allCases());
}

TEST(ResultSectionTest, EveryKindBelongsToOneSection) {
    EXPECT_EQ(ResultSection::of(Row::Kind::tab), ResultSection::tabs);
    for (auto kind : {Row::Kind::history, Row::Kind::open, Row::Kind::archived})
        EXPECT_EQ(ResultSection::of(kind), ResultSection::history);
    EXPECT_EQ(ResultSection::of(Row::Kind::search), ResultSection::search);
    for (auto kind : {Row::Kind::command, Row::Kind::mode})
        EXPECT_EQ(ResultSection::of(kind), ResultSection::commands);
    EXPECT_EQ(ResultSection(ResultSection::commands).title(), u"Commands"_s);
}

TEST(RawValueTest, CasesRoundTripAndUnknownNamesGiveNothing) {
    for (auto kind : {Row::Kind::tab, Row::Kind::history, Row::Kind::open, Row::Kind::search,
                      Row::Kind::command, Row::Kind::mode, Row::Kind::archived})
        EXPECT_EQ(Row::kindFromRaw(Row::rawValue(kind)), kind);
    EXPECT_EQ(Row::rawValue(Row::Kind::archived), u"archived"_s);
    EXPECT_EQ(Row::kindFromRaw(u"Tab"), std::nullopt);
    EXPECT_EQ(Row::kindFromRaw(u""), std::nullopt);

    for (ResultSection section : ResultSection::allCases())
        EXPECT_EQ(ResultSection::fromRaw(section.rawValue()), section);
    EXPECT_EQ(ResultSection::fromRaw(u"bookmarks"), std::nullopt);

    EXPECT_EQ(resultLayoutFromRaw(u"ranked"), ResultLayout::ranked);
    EXPECT_EQ(resultLayoutFromRaw(rawValue(ResultLayout::grouped)), ResultLayout::grouped);
    EXPECT_EQ(resultLayoutFromRaw(u"Ranked"), std::nullopt);
}

TEST(ActionTest, EqualityComparesCaseAndEveryPayloadField) {
    const QString url = u"https://example.com/"_s;
    Row history{.kind = Row::Kind::history, .title = u"One"_s, .action = Action::open(url)};
    Row search{.kind = Row::Kind::search, .title = u"Two"_s, .action = Action::open(url)};
    EXPECT_EQ(history.action, search.action);
    EXPECT_NE(history, search);

    EXPECT_NE(Action::switchTab(1, 2), Action::open(url));
    EXPECT_NE(Action::revealTab(url), Action::open(url));
    EXPECT_EQ(Action::switchTab(1, 2), Action::switchTab(1, 2));
    EXPECT_NE(Action::switchTab(1, 2), Action::switchTab(1, 3));
    EXPECT_NE(Action::switchTab(1, 2), Action::switchTab(2, 2));
    EXPECT_EQ(Action::menu({u"View"_s, u"Reload Page"_s}),
              Action::menu({u"View"_s, u"Reload Page"_s}));
    EXPECT_NE(Action::menu({u"View"_s, u"Reload Page"_s}), Action::menu({u"View"_s}));
    EXPECT_NE(Action::copyLink(true), Action::copyLink(false));
    EXPECT_EQ(Action::devMode(), Action::devMode());
    EXPECT_EQ(Action::copyLink(true).typeName(), u"copyLink"_s);
}

} // namespace
