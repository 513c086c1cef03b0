#include "panel/Access.h"
#include "panel/SettingsState.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

// The groups as "pane:id,id" in order (a pane that matched by its own text has no ids), then
// "> " and the best hit's id.
QString settingsSearch(const QString& query) {
    QStringList lines;
    for (const SettingsGroup& group : SettingsSearch::groups(query)) {
        QStringList ids;
        for (const SettingsItem& item : group.items)
            ids.append(item.id);
        lines.append(group.pane.rawValue() + u':' + ids.join(u','));
    }
    const auto best = SettingsSearch::best(query);
    return lines.join(u' ') + u"> "_qs + (best ? best->id : QString());
}

TEST(SettingsSearchTest, FindsTheSettingsEveryWordPrefixes) {
    const std::pair<QString, QString> cases[] = {
        // Words in any order, each a prefix of some word of the title or keywords.
        {u"hid men"_qs, u"general:menuBarIcon> menuBarIcon"_qs},
        {u"MEN   hid"_qs, u"general:menuBarIcon> menuBarIcon"_qs},
        // One word that prefixes nothing sinks the whole query.
        {u"hid zebra"_qs, u"> "_qs},
        {u"zzz"_qs, u"> "_qs},
        // Only a pane's description matches: the pane is a group without hits.
        {u"how results"_qs, u"results:> "_qs},
        // The title that matches beats an earlier hit found by its keywords only.
        {u"link"_qs, u"shortcuts:copyLink,panel-Copy Link,panel-Copy Markdown Link> copyLink"_qs},
        {u"markdown"_qs,
         u"shortcuts:copyLink,panel-Copy Markdown Link> panel-Copy Markdown Link"_qs},
        // Separators inside a text split its words: "Developer Tools, after typing dev".
        {u"after dev"_qs, u"shortcuts:panel-Developer Tools, after typing dev> "
                          u"panel-Developer Tools, after typing dev"_qs},
        // A keyword found only in the description of the access needs.
        {u"privacy remote"_qs,
         u"permissions:permission-browserControl> permission-browserControl"_qs}};
    for (const auto& [query, found] : cases)
        EXPECT_EQ(settingsSearch(query), found) << query.toStdString();
}

TEST(SettingsSearchWordsTest, SplitsOnWhiteSpaceAndPunctuation) {
    EXPECT_EQ(SettingsSearch::textWords(u"View › Show Sidebar, (tabs)/groups. Kivaro's “bar”"_qs),
              (QStringList{u"view"_qs, u"show"_qs, u"sidebar"_qs, u"tabs"_qs, u"groups"_qs,
                           u"kivaro"_qs, u"s"_qs, u"bar"_qs}));
    EXPECT_TRUE(SettingsSearch::matches({}, u"anything"_qs));
    EXPECT_EQ(SettingsSearch::groups({}).size(), SettingsPane::allCases().size());
    EXPECT_EQ(SettingsSearch::noResults(u"  zzz \t"_qs), u"No results for “zzz”"_qs);
}

TEST(SettingsStateTest, SubmittingTheSearchSelectsTheBestHitOrElseOnlyItsPane) {
    AccessCheck access({});
    SettingsState state({}, access);
    // The query, then the pane shown and the item focused once it is submitted.
    const std::tuple<QString, SettingsPane, QString> cases[] = {
        {u"link"_qs, SettingsPane::shortcuts, u"copyLink"_qs},
        {u"how results"_qs, SettingsPane::results, {}},
        {u"zzz"_qs, SettingsPane::results, {}}};
    for (const auto& [query, pane, focus] : cases) {
        state.setQuery(query);
        state.jumpToBestMatch();
        EXPECT_EQ(state.pane(), pane) << query.toStdString();
        EXPECT_EQ(state.focus() ? state.focus()->id : QString(), focus) << query.toStdString();
    }
}

} // namespace
} // namespace kivaro
