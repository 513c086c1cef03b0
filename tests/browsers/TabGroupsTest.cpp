#include "browsers/TabGroups.h"

#include "../history/HistoryFixtures.h"
#include "support/RefusingFolder.h"

#include <QFileInfo>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {

namespace {

using namespace Qt::StringLiterals;
using test::literal;

using testing::RefusingFolder;

constexpr int folder = 1;
constexpr int tab = 0;
constexpr int profileFolder = 2;

// A SafariTabs.db made row by row with Safari's layout.
class TabGroupsTest : public test::HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        db_ = path(u"Containers/Safari/SafariTabs.db"_s);
        test::createFromScript(db_, u"safari-tabs.sql"_s);
    }

    void addFolder(int id, const QString& title, int subtype = 0, int hidden = 0, int deleted = 0) {
        test::execute(db_,
                      u"INSERT INTO bookmarks (id, parent, type, subtype, title, hidden, "
                      u"deleted, order_index) VALUES (%1, 0, %2, %3, %4, %5, %6, %1)"_s.arg(
                          QString::number(id), QString::number(folder), QString::number(subtype),
                          literal(title), QString::number(hidden), QString::number(deleted)));
    }

    void addTab(int parent, int order, const std::optional<QString>& title,
                const std::optional<QString>& url, int deleted = 0) {
        test::execute(db_, u"INSERT INTO bookmarks (parent, type, title, url, deleted, "
                           u"order_index) VALUES (%1, %2, %3, %4, %5, %6)"_s.arg(parent)
                               .arg(tab)
                               .arg(literal(title), literal(url))
                               .arg(deleted)
                               .arg(order));
    }

    void addWindow(const QString& shown, const QString& local, const QString& profile,
                   const QString& closed = u"NULL"_s) {
        test::execute(db_, u"INSERT INTO windows (active_tab_group_id, local_tab_group_id, "
                           u"active_profile_id, date_closed) VALUES (%1, %2, %3, %4)"_s.arg(
                               shown, local, profile, closed));
    }

    static SafariTab live(qint64 window, qint64 index, const QString& url) {
        return {.windowID = window, .index = index, .url = url};
    }

    QList<SafariTab> liveTabs() const {
        return {live(101, 1, u"https://open.example/"_s),
                live(101, 2, u"https://local-open.example/"_s),
                live(102, 1, u"https://shown.example/"_s),
                live(102, 2, u"https://pinned-open.example/"_s)};
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
};

TEST_F(TabGroupsTest, OffersTheTabsNoWindowShowsOnceEachInGroupOrder) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    EXPECT_EQ(rendered(TabGroups::load(liveTabs(), db_, *snapshots_)),
              (QStringList{
                  u"Trip: Flights https://flights.example/"_s,
                  u"Trip: Hotel https://hotel.example/"_s, u"Trip: Dup https://dup.example/"_s,
                  u"Trip:  https://notitle.example/"_s, u"Research: Paper https://paper.example/"_s,
                  u"Elsewhere: Elsewhere https://elsewhere.example/"_s,
                  u"Personal: Hidden local https://hidden-local.example/"_s,
                  u"Work: Work hidden https://work-hidden.example/"_s,
                  u"Personal: Pinned https://pinned.example/"_s}));
    EXPECT_TRUE(QFileInfo::exists(snapshotFolder(u"kivaro-history-51/History.db"_s)));
}

TEST_F(TabGroupsTest, WithoutLiveTabsNoHiddenUnnamedGroupIsOffered) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    QStringList urls;
    for (const SafariTab& offered : TabGroups::load({}, db_, *snapshots_))
        urls.append(offered.url);
    // Named groups and pinned tabs only; an empty profile title reads "Personal".
    EXPECT_EQ(urls, (QStringList{u"https://flights.example/"_s, u"https://hotel.example/"_s,
                                 u"https://dup.example/"_s, u"https://notitle.example/"_s,
                                 u"https://open.example/"_s, u"https://paper.example/"_s,
                                 u"https://shown.example/"_s, u"https://elsewhere.example/"_s,
                                 u"https://pinned.example/"_s, u"https://pinned-open.example/"_s}));
}

TEST_F(TabGroupsTest, AProfileWithoutATitleIsPersonal) {
    addFolder(11, QString(), profileFolder);
    addFolder(40, u"Shown"_s);
    addFolder(41, QString());
    addTab(40, 0, u"Live"_s, u"https://live.example/"_s);
    addTab(41, 0, u"Hidden"_s, u"https://hidden.example/"_s);
    addWindow(u"40"_s, u"41"_s, u"11"_s);
    const QList<SafariTab> offered =
        TabGroups::load({live(1, 1, u"https://live.example/"_s)}, db_, *snapshots_);
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0].group, u"Personal"_s);
}

TEST_F(TabGroupsTest, PinnedURLsAreTheBareAddressesOfThePinnedFolders) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    // Tabs of a deleted "pinned" folder still count: a tab wrongly kept is better than one
    // wrongly closed.
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_),
              (QSet<QString>{u"pinned.example"_s, u"pinned-open.example"_s, u"old-pin.example"_s}));
}

TEST_F(TabGroupsTest, NoPinnedTabsIsAnEmptySet) {
    addFolder(20, u"Trip"_s);
    addTab(20, 0, u"Hotel"_s, u"https://hotel.example/"_s);
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_), QSet<QString>());
}

TEST_F(TabGroupsTest, ReadsChangesThatLiveOnlyInTheWriteAheadLog) {
    test::execute(db_, u"PRAGMA journal_mode = WAL"_s);
    addFolder(20, u"Trip"_s);
    addFolder(30, u"pinned"_s, 0, 1);
    test::execute(db_,
                  u"INSERT INTO bookmarks (parent, type, title, url, order_index) VALUES "
                  u"(20, 0, 'Wal', 'https://wal.example/', 0), "
                  u"(30, 0, 'Pin', 'https://wal-pin.example/', 0)"_s,
                  true);
    ASSERT_TRUE(QFileInfo::exists(db_ + u"-wal"_s));
    EXPECT_EQ(rendered(TabGroups::load({}, db_, *snapshots_)),
              (QStringList{u"Trip: Wal https://wal.example/"_s,
                           u"Personal: Pin https://wal-pin.example/"_s}));
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_), QSet<QString>{u"wal-pin.example"_s});
}

TEST_F(TabGroupsTest, AMissingOrUnreadableDatabaseGivesNothing) {
    // Missing, no database, another layout: nothing is known about pins, which is not "no pins".
    const QString junk = path(u"junk/SafariTabs.db"_s), other = path(u"other/SafariTabs.db"_s);
    test::writeFile(junk, QByteArray("not a database at all", 21));
    test::execute(other, u"CREATE TABLE something (x TEXT)"_s);
    for (const QString& db : {path(u"nowhere/SafariTabs.db"_s), junk, other}) {
        EXPECT_TRUE(TabGroups::load(liveTabs(), db, *snapshots_).isEmpty()) << db.toStdString();
        EXPECT_EQ(TabGroups::pinnedURLs(db, *snapshots_), std::nullopt) << db.toStdString();
    }
}

TEST_F(TabGroupsTest, ADatabaseWithoutWindowsStillOffersGroupsAndPins) {
    addFolder(20, u"Trip"_s);
    addFolder(30, u"pinned"_s, 0, 1);
    addTab(20, 0, u"Hotel"_s, u"https://hotel.example/"_s);
    addTab(30, 0, u"Pin"_s, u"https://pin.example/"_s);
    test::execute(db_, u"DROP TABLE windows"_s);
    EXPECT_EQ(rendered(TabGroups::load({}, db_, *snapshots_)),
              (QStringList{u"Trip: Hotel https://hotel.example/"_s,
                           u"Personal: Pin https://pin.example/"_s}));
}

TEST_F(TabGroupsTest, NoSnapshotFolderMeansNothing) {
    test::createFromScript(db_, u"safari-tab-groups.sql"_s);
    const RefusingFolder unusable;
    EXPECT_TRUE(TabGroups::load(liveTabs(), db_, unusable).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(db_, unusable), std::nullopt);
}

} // namespace
} // namespace kivaro
