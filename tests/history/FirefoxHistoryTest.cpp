#include "history/FirefoxHistory.h"

#include "HistoryFixtures.h"
#include "history/HistorySource.h"

#include <sqlite3.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

class FirefoxHistoryTest : public HistoryTest {
protected:
    QString root() const { return path(u".mozilla/firefox"_s); }
    QString profile(const QByteArray& ini) {
        writeFile(root() + u"/profiles.ini"_s, ini);
        createFromScript(root() + u"/p/places.sqlite"_s, u"firefox-places.sql"_s);
        return root() + u"/p/places.sqlite"_s;
    }
};

TEST_F(FirefoxHistoryTest, ProfilesRunInstallDefaultsThenTheMarkedDefaultThenTheRest) {
    const std::vector<std::pair<QByteArray, QStringList>> cases{
        {"[Profile0]\nPath=b\n[Profile1]\nPath=a\nDefault=1\n[InstallX]\nDefault=c\n"
         "[Profile2]\nPath=c\n",
         {u"c"_s, u"a"_s, u"b"_s}},
        {"[Profile0]\r\nIsRelative=0\r\nPath=/srv/ff\r\n[General]\r\nPath=z\r\n", {u"/srv/ff"_s}},
        {"[Profile0]\nPath=../../etc\n[Profile1]\nPath=\n[Profile2]\nIsRelative=0\nPath=rel\n"
         "[InstallY]\nDefault=x/../../y\nnot a line\n=1\nPath=outside\n[Profile3]\nPath = s \n",
         {u"s"_s}},
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
    const QString db = profile("[Profile0]\nPath=p\nDefault=1\n");
    execute(db, testing::fixtureText(u"history/firefox-wal.sql"_s), true);
    ASSERT_GT(QFileInfo(db + u"-wal"_s).size(), 0) << "the rows must live in the log";
    const OpenDatabase firefox(db);
    ASSERT_EQ(firefox.execute(u"PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"_s), SQLITE_OK);

    const HistoryResult result = FirefoxHistory::load(u"test"_s, *snapshots_);
    EXPECT_EQ(rendered(result.entries), u"https://odd/|Odd|0|1970-01-01T00:00:00.000Z\n"
                                        u"https://untitled/||1|2025-03-04T10:30:00.000Z\n"
                                        u"https://wal/|In the log|3|2025-03-04T10:30:00.000Z"_s);
    EXPECT_EQ(result.status, u"3 pages");
    // As an extra source of the other browsers' searches.
    EXPECT_EQ(HistorySource::available().value(0).name, u"Firefox");
    EXPECT_EQ(HistorySource::source(HistorySource::firefoxID)->history(*snapshots_), result);
}

TEST_F(FirefoxHistoryTest, SaysWhenThereIsNoHistoryOrItCannotBeRead) {
    EXPECT_EQ(FirefoxHistory::load(u"test"_s, *snapshots_).status, u"no history found");
    writeFile(profile("[Profile0]\nPath=p\n"), "not a database at all");
    EXPECT_EQ(FirefoxHistory::load(u"test"_s, *snapshots_).status, u"could not be read");
}

} // namespace
} // namespace kivaro::test
