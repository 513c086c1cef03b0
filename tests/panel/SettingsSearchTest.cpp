#include "panel/Access.h"
#include "panel/SettingsState.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

struct SearchCase {
    const char* query;
    // The groups as "pane:id,id" in order; a pane that matched by its own text has no ids.
    QStringList groups;
    const char* best; // the best hit's id, or "" for none
};

QStringList describe(const QList<SettingsGroup>& groups) {
    QStringList lines;
    for (const SettingsGroup& group : groups) {
        QStringList ids;
        for (const SettingsItem& item : group.items)
            ids.append(item.id);
        lines.append(group.pane.rawValue() + u':' + ids.join(u','));
    }
    return lines;
}

class SettingsSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SettingsSearchTest, FindsTheSettingsEveryWordPrefixes) {
    const SearchCase& test = GetParam();
    const QString query = QString::fromUtf8(test.query);
    EXPECT_EQ(describe(SettingsSearch::groups(query)), test.groups);
    const auto best = SettingsSearch::best(query);
    EXPECT_EQ(best ? best->id : QString(), QString::fromUtf8(test.best));
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SettingsSearchTest,
    ::testing::Values(
        // Words in any order, each a prefix of some word of the title or keywords.
        SearchCase{"hid men", {u"general:menuBarIcon"_qs}, "menuBarIcon"},
        SearchCase{"MEN   hid", {u"general:menuBarIcon"_qs}, "menuBarIcon"},
        // One word that prefixes nothing sinks the whole query.
        SearchCase{"hid zebra", {}, ""}, SearchCase{"zzz", {}, ""},
        // Only a pane's description matches: the pane is a group without hits.
        SearchCase{"how results", {u"results:"_qs}, ""},
        // The title that matches beats an earlier hit found by its keywords only.
        SearchCase{"link",
                   {u"shortcuts:copyLink,panel-Copy Link,panel-Copy Markdown Link"_qs},
                   "copyLink"},
        SearchCase{"markdown",
                   {u"shortcuts:copyLink,panel-Copy Markdown Link"_qs},
                   "panel-Copy Markdown Link"},
        // Separators inside a text split its words: "Developer Tools, after typing dev".
        SearchCase{"after dev",
                   {u"shortcuts:panel-Developer Tools, after typing dev"_qs},
                   "panel-Developer Tools, after typing dev"},
        // A keyword found only in the description of the access needs.
        SearchCase{"privacy remote",
                   {u"permissions:permission-browserControl"_qs},
                   "permission-browserControl"}));

TEST(SettingsSearchWordsTest, SplitsOnWhiteSpaceAndPunctuation) {
    EXPECT_EQ(SettingsSearch::textWords(u"View › Show Sidebar, (tabs)/groups. Kivaro's “bar”"_qs),
              (QStringList{u"view"_qs, u"show"_qs, u"sidebar"_qs, u"tabs"_qs, u"groups"_qs,
                           u"kivaro"_qs, u"s"_qs, u"bar"_qs}));
    EXPECT_TRUE(SettingsSearch::matches({}, u"anything"_qs));
    EXPECT_EQ(SettingsSearch::groups({}).size(), SettingsPane::allCases().size());
    EXPECT_EQ(SettingsSearch::noResults(u"  zzz \t"_qs), u"No results for “zzz”"_qs);
}

TEST(SettingsStateTest, SubmittingTheSearchSelectsTheBestHitOrTheFirstPane) {
    AccessCheck access({});
    SettingsState state({}, access);
    state.setQuery(u"link"_qs);
    state.jumpToBestMatch();
    EXPECT_EQ(state.pane(), SettingsPane::shortcuts);
    ASSERT_TRUE(state.focus());
    EXPECT_EQ(state.focus()->id, u"copyLink"_qs);

    state.setQuery(u"how results"_qs);
    state.jumpToBestMatch();
    EXPECT_EQ(state.pane(), SettingsPane::results);
    EXPECT_FALSE(state.focus());

    state.setQuery(u"zzz"_qs);
    state.jumpToBestMatch();
    EXPECT_EQ(state.pane(), SettingsPane::results);
    EXPECT_FALSE(state.focus());
}

} // namespace
} // namespace kivaro
