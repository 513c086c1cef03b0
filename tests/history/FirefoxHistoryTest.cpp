#include "history/FirefoxHistory.h"

#include "HistoryFixtures.h"

#include <gmock/gmock.h>
#include <sqlite3.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;
using ::testing::UnorderedElementsAre;

const QDateTime visited(QDate(2025, 3, 4), QTime(10, 30), Qt::UTC);

class FirefoxHistoryTest : public HistoryTest {
protected:
    QString root() const { return path(u".mozilla/firefox"_s); }
    // A profile's places.sqlite, listed in the classic root's profiles.ini.
    QString profile(const QString& name, const QByteArray& ini) {
        writeFile(root() + u"/profiles.ini"_s, ini);
        const QString db = root() + u'/' + name + u"/places.sqlite"_s;
        createFromScript(db, u"firefox-places.sql"_s);
        return db;
    }
    void place(const QString& db, const QString& url, const std::optional<QString>& title,
               const QString& visits, const QString& lastVisit, int hidden = 0) {
        execute(db,
                u"INSERT INTO moz_places(url, title, visit_count, last_visit_date, hidden) "
                "VALUES(%1, %2, %3, %4, %5)"_s.arg(literal(url), literal(title), visits, lastVisit,
                                                   QString::number(hidden)),
                true);
    }
};

TEST_F(FirefoxHistoryTest, ProfilesRunInstallDefaultsThenTheMarkedDefaultThenTheRest) {
    const std::vector<std::pair<QByteArray, QStringList>> cases{
        {"[Profile0]\nPath=b\n[Profile1]\nPath=a\nDefault=1\n[InstallX]\nDefault=c\n"
         "[Profile2]\nPath=c\n",
         {u"c"_s, u"a"_s, u"b"_s}},
        {"[Profile0]\r\nIsRelative=0\r\nPath=/srv/ff\r\n\r\n[General]\r\nPath=z\r\n",
         {u"/srv/ff"_s}},
        {"[Profile0]\nPath=../../etc\n[Profile1]\nPath=\n[Profile2]\nIsRelative=0\nPath=rel\n"
         "[Profile3]\nPath=/abs\n[InstallY]\nDefault=x/../../y\nnot a line\n=1\n",
         {u"/abs"_s}},
        {"Path=outside-a-section\n[Profile0]\nPath = spaced \n", {u"spaced"_s}},
        {"\xff\xfe binary", {}},
    };
    for (const auto& [ini, expected] : cases) {
        writeFile(root() + u"/profiles.ini"_s, ini);
        QStringList wanted;
        for (const QString& folder : expected)
            wanted.append(folder.startsWith(u'/') ? folder : root() + u'/' + folder);
        EXPECT_EQ(FirefoxHistory::profiles(root()), wanted) << ini.toStdString();
    }
}

TEST_F(FirefoxHistoryTest, ReadsVisitedPlacesFromTheWalOfALockedDatabase) {
    const QString db = profile(u"p.default"_s, "[Profile0]\nPath=p.default\nDefault=1\n");
    const QString at = QString::number(visited.toMSecsSinceEpoch() * 1000);
    place(db, u"https://wal.example/"_s, u"In the log"_s, u"3"_s, at);
    place(db, u"https://untitled.example/"_s, std::nullopt, u"1"_s, at);
    place(db, u"https://odd.example/"_s, u"Odd"_s, u"'lots'"_s, u"1e300"_s);
    place(db, u"https://hidden.example/"_s, u"Hidden"_s, u"9"_s, at, 1);
    place(db, u"https://bookmark-only.example/"_s, u"Never"_s, u"0"_s, u"NULL"_s);
    place(db, u""_s, u"No address"_s, u"5"_s, at);
    ASSERT_TRUE(QFileInfo(db + u"-wal"_s).size() > 0) << "the rows must live in the log";
    const OpenDatabase firefox(db);
    ASSERT_EQ(firefox.execute("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"), SQLITE_OK);

    const HistoryResult result = FirefoxHistory::load(u"test"_s, *snapshots_);
    const QDateTime epoch = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    EXPECT_THAT(
        result.entries,
        UnorderedElementsAre(HistoryEntry{u"https://wal.example/"_s, u"In the log"_s, 3, visited},
                             HistoryEntry{u"https://untitled.example/"_s, {}, 1, visited},
                             HistoryEntry{u"https://odd.example/"_s, u"Odd"_s, 0, epoch}));
    EXPECT_EQ(result.status, u"3 pages");
}

TEST_F(FirefoxHistoryTest, SaysWhenThereIsNoHistoryOrItCannotBeRead) {
    EXPECT_EQ(FirefoxHistory::load(u"test"_s, *snapshots_).status, u"no history found");
    const QString db = profile(u"p"_s, "[Profile0]\nPath=p\n");
    writeFile(db, "not a database at all");
    EXPECT_EQ(FirefoxHistory::load(u"test"_s, *snapshots_).status, u"could not be read");
}

} // namespace
} // namespace kivaro::test
