#include "history/ChromiumHistory.h"

#include "HistoryFixtures.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

const QString chromium = u"chromium"_s;
const QString slot = u"org.chromium.Chromium"_s;

class ChromiumHistoryTest : public HistoryTest {
protected:
    QString root() const { return configFolder() + u'/' + chromium; }
    HistoryResult load() const { return ChromiumHistory::load(chromium, slot, *snapshots_); }
    void writeLocalState(const QByteArray& json) { writeFile(root() + u"/Local State"_s, json); }
};

TEST_F(ChromiumHistoryTest, ProfilesComeFromLocalStateSortedWithDefaultAsFallback) {
    EXPECT_EQ(ChromiumHistory::profiles(root()), QStringList{u"Default"_s}) << "no file";
    writeLocalState(testing::fixtureText(u"chromium-local-state.json"_s).toUtf8());
    EXPECT_EQ(ChromiumHistory::profiles(root()), (QStringList{u"Default"_s, u"Profile 1"_s}));
    for (const QByteArray& json :
         testing::fixtureLines(u"history/chromium-bad-local-states.txt"_s)) {
        writeLocalState(json);
        EXPECT_EQ(ChromiumHistory::profiles(root()), QStringList{u"Default"_s}) << json.data();
    }
    writeLocalState(R"({"profile": {"info_cache": {"Profile 2": {}, "../x": {}, "Default": {}}}})");
    EXPECT_EQ(ChromiumHistory::profiles(root()), (QStringList{u"Default"_s, u"Profile 2"_s}));

    QFile::remove(root() + u"/Local State"_s);
    makeFifo(root() + u"/Local State"_s);
    EXPECT_EQ(ChromiumHistory::profiles(root()), QStringList{u"Default"_s}) << "a pipe";
}

// Times are microseconds since 1601; odd values read as nothing, hidden rows and rows without
// an address are left out.
TEST_F(ChromiumHistoryTest, MergesProfilesInSortedOrderWithOneSnapshotEach) {
    writeLocalState(testing::fixtureText(u"chromium-local-state.json"_s).toUtf8());
    const QString work = chromiumProfile(chromium, u"Profile 1"_s);
    createFromScript(work, u"history/chromium-merge-work.sql"_s);
    const QString personal = chromiumProfile(chromium, u"Default"_s);
    createFromScript(personal, u"history/chromium-merge-personal.sql"_s);

    const HistoryResult result = load();
    EXPECT_EQ(rendered(result.entries),
              testing::fixtureText(u"history/chromium-merge.expected"_s).trimmed());
    EXPECT_EQ(result.status, u"5 pages");
    const QString first = snapshotFolder(u"kivaro-chromium-org.chromium.Chromium-0/History"_s);
    const QString second = snapshotFolder(u"kivaro-chromium-org.chromium.Chromium-1/History"_s);
    EXPECT_EQ(readFile(first), readFile(personal));
    EXPECT_EQ(readFile(second), readFile(work));
}

// A running browser holds its History file under an exclusive lock, so it is read through a
// copy. A copy taken mid-transaction carries a hot journal: rolled back into the copy, it gives
// the last committed state and never the half-written one.
TEST_F(ChromiumHistoryTest, RollsTheCopyBackToItsLastCommittedState) {
    const QString db = chromiumProfile(chromium, u"Default"_s);
    addChromiumRow(db, u"https://committed.example/"_s, u"Committed"_s, u"1"_s,
                   u"13359024000000000"_s); // 2024-05-01 08:00 UTC
    const QByteArray committed = readFile(db);

    const OpenDatabase browser(db);
    ASSERT_EQ(browser.execute(testing::fixtureText(u"history/chromium-pending.sql"_s)), SQLITE_OK);
    ASSERT_NE(readFile(db), committed) << "the transaction must have spilled into the file";
    ASSERT_GT(QFileInfo(db + u"-journal"_s).size(), 0);
    EXPECT_EQ(OpenDatabase(db, true).execute(u"SELECT count(*) FROM urls"_s), SQLITE_BUSY);

    const auto before = contents(root());
    const HistoryResult result = load();
    EXPECT_EQ(contents(root()), before) << "the browser's files must never be written";

    EXPECT_EQ(rendered(result.entries),
              u"https://committed.example/|Committed|1|2024-05-01T08:00:00.000Z"_s);
    EXPECT_EQ(readFile(snapshotFolder(u"kivaro-chromium-org.chromium.Chromium-0/History"_s)),
              committed);
}

TEST_F(ChromiumHistoryTest, StatusTellsWhyNothingWasRead) {
    EXPECT_EQ(load(), (HistoryResult{{}, u"no history found"_s})) << "not installed";

    ASSERT_TRUE(QDir().mkpath(root() + u"/Default"_s));
    EXPECT_EQ(load(), (HistoryResult{{}, u"no history found"_s})) << "no profile database";

    QDir(root()).removeRecursively();
    writeFile(root() + u"/Default"_s, "a profile folder that is a file");
    EXPECT_EQ(load(), (HistoryResult{{}, u"no history found"_s}));

    QDir(root()).removeRecursively();
    writeFile(root(), "a data folder that is a file");
    EXPECT_EQ(load(), (HistoryResult{{}, u"could not be read"_s}));
}

TEST_F(ChromiumHistoryTest, DamagedProfilesAreSkippedAndCounted) {
    writeLocalState(
        R"({"profile": {"info_cache": {"A": {}, "B": {}, "C": {}, "D": {}, "E": {}}}})");
    writeFile(root() + u"/A/History"_s, "SQLite format 3 but only in words");
    execute(root() + u"/B/History"_s, u"CREATE TABLE visits(id INTEGER PRIMARY KEY)"_s);
    makeFifo(root() + u"/C/History"_s);
    const QString big = chromiumProfile(chromium, u"D"_s);
    createFromScript(big, u"history/chromium-bulky.sql"_s);
    truncate(big, 0.25);
    EXPECT_EQ(load(), (HistoryResult{{}, u"could not be read"_s}));

    // A good profile gives its 5000 most visited pages.
    createFromScript(chromiumProfile(chromium, u"E"_s), u"history/chromium-most-visited.sql"_s);
    const HistoryResult result = load();
    EXPECT_EQ(result.status, u"5000 pages");
    EXPECT_TRUE(std::none_of(result.entries.begin(), result.entries.end(),
                             [](const HistoryEntry& entry) { return entry.visits == 1; }));
}

} // namespace
} // namespace kivaro::test
