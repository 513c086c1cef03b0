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
    for (const QByteArray& line : testing::fixtureLines(u"history/firefox-profiles.txt"_s)) {
        const QByteArray ini =
            line.left(line.indexOf('\t')).replace("\\n", "\n").replace("\\r", "\r");
        QStringList wanted;
        for (const QString& folder :
             QString::fromUtf8(line.mid(line.indexOf('\t') + 1)).split(u' '))
            if (folder != u"-")
                wanted.append(folder.startsWith(u'/') ? folder : root() + u'/' + folder);
        writeFile(root() + u"/profiles.ini"_s, ini);
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
    EXPECT_EQ(rendered(result.entries),
              testing::fixtureText(u"history/firefox-wal.expected"_s).trimmed());
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
