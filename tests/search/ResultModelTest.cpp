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

} // namespace
