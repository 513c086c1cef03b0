#include "search/Ranking.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

TEST(ResultSectionTest, OrderedKeepsFirstPositionsAndAppendsTheMissingSections) {
    const QList<ResultSection> searchTabsFirst{ResultSection::search, ResultSection::tabs,
                                               ResultSection::history, ResultSection::commands};
    EXPECT_EQ(ResultSection::ordered({u"search"_s, u"sideways"_s, u"search"_s, u"tabs"_s}),
              searchTabsFirst);
    EXPECT_EQ(ResultSection::ordered({}), ResultSection::allCases());
    // Raw values are case-sensitive, as stored.
    EXPECT_EQ(ResultSection::ordered({u"Tabs"_s, u"HISTORY"_s, u""_s}), ResultSection::allCases());
}

TEST(ResultSectionTest, Titles) {
    QStringList titles;
    for (ResultSection section : ResultSection::allCases())
        titles.append(section.title());
    EXPECT_EQ(titles.join(u", "), u"Tabs, History, Search, Commands"_s);
}

TEST(RawValueTest, UnknownNamesGiveNothing) {
    EXPECT_EQ(Row::kindFromRaw(Row::rawValue(Row::Kind::archived)), Row::Kind::archived);
    EXPECT_EQ(Row::kindFromRaw(u"Tab"), std::nullopt);
    EXPECT_EQ(Row::kindFromRaw(u""), std::nullopt);
    EXPECT_EQ(ResultSection::fromRaw(u"bookmarks"), std::nullopt);
    EXPECT_EQ(resultLayoutFromRaw(u"ranked"), ResultLayout::ranked);
    EXPECT_EQ(resultLayoutFromRaw(u"Ranked"), std::nullopt);
}

} // namespace
