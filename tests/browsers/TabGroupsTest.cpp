#include "browsers/TabGroups.h"

#include "../history/HistoryFixtures.h"
#include "support/RefusingFolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace kivaro {

namespace {

using namespace Qt::StringLiterals;

// A SafariTabs.db with Safari's layout, filled from tests/fixtures or row by row.
class TabGroupsTest : public test::HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        db_ = path(u"Containers/Safari/SafariTabs.db"_s);
        test::createFromScript(db_, u"safari-tabs.sql"_s);
    }

    // Folders (type 1; subtype 2 a profile) as "(id, subtype, title, hidden)" rows.
    void folders(const QString& rows) {
        test::execute(db_, u"INSERT INTO bookmarks (id, subtype, title, hidden, parent, type, "
                           u"order_index) SELECT column1, column2, column3, column4, 0, 1, "
                           u"column1 FROM (VALUES "_s +
                               rows + u')');
    }
    // Tabs (type 0) as "(parent, order, title, url)" rows.
    void tabs(const QString& rows, bool keepInWal = false) {
        test::execute(db_,
                      u"INSERT INTO bookmarks (parent, order_index, title, url, type) SELECT "
                      u"column1, column2, column3, column4, 0 FROM (VALUES "_s +
                          rows + u')',
                      keepInWal);
    }

    // Stored tabs as "group: title url", in the order offered.
    static QStringList rendered(const QList<SafariTab>& tabs) {
        QStringList lines;
        for (const SafariTab& tab : tabs) {
            EXPECT_EQ((std::tuple{tab.windowID, tab.windowOrder, tab.index, tab.isCurrent}),
                      (std::tuple{-1, 3, -1, false}));
            lines.append(tab.group + u": "_s + tab.title + u' ' + tab.url);
        }
        return lines;
    }

    QString db_;
    const QList<SafariTab> live_{
        {.windowID = 101, .index = 1, .url = u"https://open.example/"_s},
        {.windowID = 101, .index = 2, .url = u"https://local-open.example/"_s},
        {.windowID = 102, .index = 1, .url = u"https://shown.example/"_s},
        {.windowID = 102, .index = 2, .url = u"https://pinned-open.example/"_s}};
};

TEST_F(TabGroupsTest, OffersTheTabsNoWindowShowsOnceEachInGroupOrder) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    EXPECT_EQ(rendered(TabGroups::load(live_, db_, *snapshots_)),
              (QStringList{
                  u"Trip: Flights https://flights.example/"_s,
                  u"Trip: Hotel https://hotel.example/"_s, u"Trip: Dup https://dup.example/"_s,
                  u"Trip:  https://notitle.example/"_s, u"Research: Paper https://paper.example/"_s,
                  u"Elsewhere: Elsewhere https://elsewhere.example/"_s,
                  u"Personal: Hidden local https://hidden-local.example/"_s,
                  u"Work: Work hidden https://work-hidden.example/"_s,
                  u"Personal: Pinned https://pinned.example/"_s}));
    EXPECT_TRUE(QFileInfo::exists(snapshotFolder(u"kivaro-history-51/History.db"_s)));
    // Without live tabs no hidden unnamed group is offered: named groups and pinned tabs only.
    QStringList urls;
    for (const SafariTab& offered : TabGroups::load({}, db_, *snapshots_))
        urls.append(offered.url);
    EXPECT_EQ(urls, (QStringList{u"https://flights.example/"_s, u"https://hotel.example/"_s,
                                 u"https://dup.example/"_s, u"https://notitle.example/"_s,
                                 u"https://open.example/"_s, u"https://paper.example/"_s,
                                 u"https://shown.example/"_s, u"https://elsewhere.example/"_s,
                                 u"https://pinned.example/"_s, u"https://pinned-open.example/"_s}));
    // Tabs of a deleted "pinned" folder still count: a tab wrongly kept is better than one
    // wrongly closed.
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_),
              (QSet<QString>{u"pinned.example"_s, u"pinned-open.example"_s, u"old-pin.example"_s}));
}

TEST_F(TabGroupsTest, AProfileWithoutATitleIsPersonalAndNoPinnedFolderNoPins) {
    folders(u"(11, 2, '', 0), (40, 0, 'Shown', 0), (41, 0, '', 0)"_s);
    tabs(
        u"(40, 0, 'Live', 'https://live.example/'), (41, 0, 'Hidden', 'https://hidden.example/')"_s);
    test::execute(db_, u"INSERT INTO windows (active_tab_group_id, local_tab_group_id, "
                       u"active_profile_id) VALUES (40, 41, 11)"_s);
    EXPECT_EQ(
        rendered(TabGroups::load({{.windowID = 1, .index = 1, .url = u"https://live.example/"_s}},
                                 db_, *snapshots_)),
        QStringList{u"Personal: Hidden https://hidden.example/"_s});
    // Without pinned tabs the set is empty: unlike a database that cannot be read.
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_), QSet<QString>());
}

TEST_F(TabGroupsTest, ReadsChangesThatLiveOnlyInTheWriteAheadLogOrWithoutWindows) {
    test::execute(db_, u"PRAGMA journal_mode = WAL"_s);
    folders(u"(20, 0, 'Trip', 0), (30, 0, 'pinned', 1)"_s);
    tabs(u"(20, 0, 'Wal', 'https://wal.example/'), (30, 0, 'Pin', 'https://wal-pin.example/')"_s,
         true);
    ASSERT_TRUE(QFileInfo::exists(db_ + u"-wal"_s));
    const QStringList offered{u"Trip: Wal https://wal.example/"_s,
                              u"Personal: Pin https://wal-pin.example/"_s};
    EXPECT_EQ(rendered(TabGroups::load({}, db_, *snapshots_)), offered);
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_), QSet<QString>{u"wal-pin.example"_s});
    test::execute(db_, u"DROP TABLE windows"_s);
    EXPECT_EQ(rendered(TabGroups::load({}, db_, *snapshots_)), offered);
}

// Missing, no database, another layout, no snapshot folder: nothing is known about pins, which
// is not "no pins".
TEST_F(TabGroupsTest, AMissingOrUnreadableDatabaseGivesNothing) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    const QString junk = path(u"junk/SafariTabs.db"_s), other = path(u"other/SafariTabs.db"_s);
    test::writeFile(junk, QByteArray("not a database at all", 21));
    test::execute(other, u"CREATE TABLE something (x TEXT)"_s);
    for (const QString& db : {path(u"nowhere/SafariTabs.db"_s), junk, other}) {
        EXPECT_TRUE(TabGroups::load(live_, db, *snapshots_).isEmpty()) << db.toStdString();
        EXPECT_EQ(TabGroups::pinnedURLs(db, *snapshots_), std::nullopt) << db.toStdString();
    }
    const testing::RefusingFolder unusable;
    EXPECT_TRUE(TabGroups::load(live_, db_, unusable).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(db_, unusable), std::nullopt);
}

} // namespace
} // namespace kivaro
