#include "browsers/TabGroups.h"

#include "../history/HistoryFixtures.h"
#include "support/RefusingFolder.h"

#include <QFileInfo>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {

void PrintTo(const SafariTab& tab, std::ostream* out);

namespace {

using namespace Qt::StringLiterals;
using test::literal;
using ::testing::ElementsAre;

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
        test::execute(db_, u"INSERT INTO bookmarks (id, parent, type, subtype, title, hidden, "
                           u"deleted, order_index) VALUES (%1, 0, %2, %3, %4, %5, %6, %1)"_s.arg(id)
                               .arg(folder)
                               .arg(subtype)
                               .arg(literal(title))
                               .arg(hidden)
                               .arg(deleted));
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

    // Profiles, named groups (one hidden, one deleted), windows' unnamed groups, the pinned
    // folder and a deleted one, tabs out of order, deleted, without address or title.
    void fillSafari() {
        addFolder(10, u"Work"_s, profileFolder);
        addFolder(11, QString(), profileFolder);
        addFolder(12, u"Gone"_s, profileFolder, 0, 1);
        addFolder(20, u"Trip"_s);
        addFolder(21, u"Research"_s);
        addFolder(22, u"Hidden group"_s, 0, 1);
        addFolder(23, u"Deleted group"_s, 0, 0, 1);
        addFolder(24, QString());
        addFolder(25, QString());
        addFolder(26, u"Shown"_s);
        addFolder(29, u"Elsewhere"_s);
        addFolder(30, u"pinned"_s, 0, 1);
        addFolder(31, u"pinned"_s, 0, 1, 1);
        addFolder(33, QString());

        addTab(20, 2, u"Hotel"_s, u"https://hotel.example/"_s);
        addTab(20, 0, u"Flights"_s, u"https://flights.example/"_s);
        addTab(20, 1, u"Plan"_s, u"file:///Users/me/plan.pdf"_s);
        addTab(20, 3, u"Deleted"_s, u"https://deleted.example/"_s, 1);
        addTab(20, 4, u"No address"_s, std::nullopt);
        addTab(20, 5, u"Empty address"_s, QString());
        addTab(20, 6, u"Dup"_s, u"https://dup.example/"_s);
        addTab(20, 7, std::nullopt, u"https://notitle.example/"_s);
        addTab(20, 8, u"Internal"_s, u"about:blank"_s);
        addTab(21, 0, u"Dup again"_s, u"http://www.DUP.example"_s);
        addTab(21, 1, u"Open elsewhere"_s, u"https://open.example/"_s);
        addTab(21, 2, u"Paper"_s, u"https://paper.example/"_s);
        addTab(22, 0, u"Hidden"_s, u"https://hidden-group.example/"_s);
        addTab(23, 0, u"In deleted group"_s, u"https://deleted-group.example/"_s);
        addTab(24, 0, u"Open"_s, u"https://open.example/"_s);
        addTab(24, 1, u"Local open"_s, u"https://local-open.example/"_s);
        addTab(25, 0, u"Hidden local"_s, u"https://hidden-local.example/"_s);
        addTab(26, 0, u"Shown"_s, u"https://shown.example/"_s);
        addTab(29, 0, u"Elsewhere"_s, u"https://elsewhere.example/"_s);
        addTab(30, 0, u"Pinned"_s, u"https://pinned.example/"_s);
        addTab(30, 1, u"Pinned open"_s, u"https://pinned-open.example/"_s);
        addTab(30, 2, u"Unpinned"_s, u"https://unpinned.example/"_s, 1);
        addTab(31, 0, u"Old pin"_s, u"https://old-pin.example/"_s);
        addTab(33, 0, u"Work hidden"_s, u"https://work-hidden.example/"_s);

        addWindow(u"24"_s, u"24"_s, u"10"_s);                 // shows its unnamed group
        addWindow(u"26"_s, u"25"_s, u"NULL"_s);               // shows a named group, no profile
        addWindow(u"20"_s, u"27"_s, u"10"_s, u"700000000"_s); // closed
        addWindow(u"29"_s, u"28"_s, u"10"_s);                 // shows a group nobody sees live
        addWindow(u"NULL"_s, u"32"_s, u"12"_s);
        addWindow(u"26"_s, u"33"_s, u"10"_s);
        addWindow(u"'junk'"_s, u"'junk'"_s, u"'junk'"_s);
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

    static SafariTab stored(const QString& title, const QString& url, const QString& group) {
        return {-1, 3, -1, title, url, group, false};
    }

    QString db_;
};

TEST_F(TabGroupsTest, OffersTheTabsNoWindowShowsOnceEachInGroupOrder) {
    fillSafari();
    EXPECT_THAT(
        TabGroups::load(liveTabs(), db_, *snapshots_),
        ElementsAre(stored(u"Flights"_s, u"https://flights.example/"_s, u"Trip"_s),
                    stored(u"Hotel"_s, u"https://hotel.example/"_s, u"Trip"_s),
                    stored(u"Dup"_s, u"https://dup.example/"_s, u"Trip"_s),
                    stored(QString(), u"https://notitle.example/"_s, u"Trip"_s),
                    stored(u"Paper"_s, u"https://paper.example/"_s, u"Research"_s),
                    stored(u"Elsewhere"_s, u"https://elsewhere.example/"_s, u"Elsewhere"_s),
                    stored(u"Hidden local"_s, u"https://hidden-local.example/"_s, u"Personal"_s),
                    stored(u"Work hidden"_s, u"https://work-hidden.example/"_s, u"Work"_s),
                    stored(u"Pinned"_s, u"https://pinned.example/"_s, u"Personal"_s)));
    EXPECT_TRUE(QFileInfo::exists(snapshotFolder(u"kivaro-history-51/History.db"_s)));
}

TEST_F(TabGroupsTest, WithoutLiveTabsNoHiddenUnnamedGroupIsOffered) {
    fillSafari();
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
    fillSafari();
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
    EXPECT_THAT(TabGroups::load({}, db_, *snapshots_),
                ElementsAre(stored(u"Wal"_s, u"https://wal.example/"_s, u"Trip"_s),
                            stored(u"Pin"_s, u"https://wal-pin.example/"_s, u"Personal"_s)));
    EXPECT_EQ(TabGroups::pinnedURLs(db_, *snapshots_), QSet<QString>{u"wal-pin.example"_s});
}

TEST_F(TabGroupsTest, AMissingOrUnreadableDatabaseGivesNothing) {
    const QString missing = path(u"nowhere/SafariTabs.db"_s);
    EXPECT_TRUE(TabGroups::load(liveTabs(), missing, *snapshots_).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(missing, *snapshots_), std::nullopt);

    // A file that is no database: nothing is known about pins, which is not "no pins".
    const QString junk = path(u"junk/SafariTabs.db"_s);
    test::writeFile(junk, QByteArray("not a database at all", 21));
    EXPECT_TRUE(TabGroups::load(liveTabs(), junk, *snapshots_).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(junk, *snapshots_), std::nullopt);

    // A database of another layout.
    const QString other = path(u"other/SafariTabs.db"_s);
    test::execute(other, u"CREATE TABLE something (x TEXT)"_s);
    EXPECT_TRUE(TabGroups::load(liveTabs(), other, *snapshots_).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(other, *snapshots_), std::nullopt);
}

TEST_F(TabGroupsTest, ADatabaseWithoutWindowsStillOffersGroupsAndPins) {
    addFolder(20, u"Trip"_s);
    addFolder(30, u"pinned"_s, 0, 1);
    addTab(20, 0, u"Hotel"_s, u"https://hotel.example/"_s);
    addTab(30, 0, u"Pin"_s, u"https://pin.example/"_s);
    test::execute(db_, u"DROP TABLE windows"_s);
    EXPECT_THAT(TabGroups::load({}, db_, *snapshots_),
                ElementsAre(stored(u"Hotel"_s, u"https://hotel.example/"_s, u"Trip"_s),
                            stored(u"Pin"_s, u"https://pin.example/"_s, u"Personal"_s)));
}

TEST_F(TabGroupsTest, NoSnapshotFolderMeansNothing) {
    fillSafari();
    const RefusingFolder unusable;
    EXPECT_TRUE(TabGroups::load(liveTabs(), db_, unusable).isEmpty());
    EXPECT_EQ(TabGroups::pinnedURLs(db_, unusable), std::nullopt);
}

} // namespace
} // namespace kivaro
