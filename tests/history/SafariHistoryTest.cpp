#include "HistoryFixtures.h"
#include "history/History.h"
#include "history/Sqlite.h"
#include "support/RefusingFolder.h"

#include <QDir>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

class SafariHistoryTest : public HistoryTest {
protected:
    QString safari() const { return path(u"Library/Safari"_s); }
    QString mainDatabase() { return safariDatabase(u"Library/Safari/History.db"_s); }
    QString profileDatabase(const QString& profile) {
        return safariDatabase(u"Library/Safari/Profiles/"_s + profile + u"/History.db"_s);
    }
    HistoryResult load() const { return History::load(safari(), *snapshots_); }
};

// Each page takes its newest visit and that visit's title; the databases merge by address.
TEST_F(SafariHistoryTest, MergesTheMainAndProfileDatabasesByAddress) {
    const QString main = mainDatabase();
    createFromScript(main, u"history/safari-merge-main.sql"_s);
    const QString profile = profileDatabase(u"7D2C-PROFILE"_s);
    createFromScript(profile, u"history/safari-merge-profile.sql"_s);

    EXPECT_EQ(History::databases(safari()), (QStringList{main, profile}));
    const HistoryResult result = load();
    EXPECT_EQ(rendered(result.entries),
              testing::fixtureText(u"history/safari-merge.expected"_s).trimmed());
    EXPECT_EQ(result.status, u"5 pages");
}

TEST_F(SafariHistoryTest, ReadsVisitsThatLiveOnlyInTheWriteAheadLog) {
    const QString main = mainDatabase();
    createFromScript(main, u"history/safari-on-disk.sql"_s);
    execute(main, testing::fixtureText(u"history/safari-in-log.sql"_s), true);
    ASSERT_GT(QFileInfo(main + u"-wal"_s).size(), 0);

    // The main file alone does not know the fresh visit yet.
    const QString alone = path(u"alone/History.db"_s);
    writeFile(alone, readFile(main));
    EXPECT_EQ(History::table(alone, u"SELECT url FROM history_items"_s),
              (QList<QStringList>{{u"https://checkpointed.example/"_s}}));

    const auto before = contents(safari());
    const HistoryResult result = load();
    EXPECT_EQ(result.status, u"2 pages");
    EXPECT_TRUE(
        result.entries.contains(HistoryEntry{u"https://fresh.example/"_s, u"Only in the log"_s, 1,
                                             QDateTime(QDate(2024, 3, 2), QTime(9, 30), Qt::UTC)}));
    EXPECT_TRUE(QFileInfo::exists(snapshotFolder(u"kivaro-history-0/History.db-wal"_s)));
    EXPECT_EQ(contents(safari()), before) << "Safari's own files must never be written";
}

TEST_F(SafariHistoryTest, StatusTellsWhyNothingWasRead) {
    EXPECT_EQ(load(), (HistoryResult{{}, u"needs Full Disk Access"_s}));

    ASSERT_TRUE(QDir().mkpath(safari()));
    EXPECT_EQ(load(), (HistoryResult{{}, u"empty"_s}));

    // A log whose database is gone is no database.
    writeFile(safari() + u"/History.db-wal"_s, QByteArray(4096, 'w'));
    writeFile(safari() + u"/Profiles/X/History.db-wal"_s, QByteArray(4096, 'w'));
    writeFile(safari() + u"/Profiles/AFile"_s, "a profile folder that is a file");
    EXPECT_EQ(load(), (HistoryResult{{}, u"empty"_s}));

    writeFile(safari() + u"/History.db"_s, "This is not a database, only text.");
    EXPECT_EQ(load(), (HistoryResult{{}, u"could not be read"_s}));

    QDir(safari()).removeRecursively();
    writeFile(safari(), "a Safari folder that is a file");
    EXPECT_EQ(load(), (HistoryResult{{}, u"needs Full Disk Access"_s}));
}

// Damaged databases are skipped; rows without an address drop out and NULLs read as nothing. A
// database gives its 5000 most visited pages; with no snapshot folder nothing is read.
TEST_F(SafariHistoryTest, DamagedDatabasesAreSkippedAndCounted) {
    const QString good = mainDatabase();
    createFromScript(good, u"history/safari-most-visited.sql"_s);
    const QString nulls = safari() + u"/Profiles/Nulls/History.db"_s;
    createFromScript(nulls, u"history/safari-nulls.sql"_s);
    execute(path(u"Library/Safari/Profiles/NoTable/History.db"_s),
            u"CREATE TABLE history_items(id INTEGER PRIMARY KEY, url TEXT)"_s);
    ASSERT_TRUE(QDir().mkpath(safari() + u"/Profiles/Folder/History.db"_s));
    makeFifo(safari() + u"/Profiles/Pipe/History.db"_s);
    const QString big = profileDatabase(u"Truncated"_s);
    createFromScript(big, u"history/safari-bulky.sql"_s);
    truncate(big, 1.0 / 3);

    const HistoryResult result = load();
    EXPECT_EQ(result.status, u"5001 pages");
    EXPECT_TRUE(
        result.entries.contains(HistoryEntry{u"https://n.example/"_s, QString(), 0,
                                             QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)}));
    EXPECT_TRUE(std::none_of(result.entries.begin(), result.entries.end(),
                             [](const HistoryEntry& entry) { return entry.visits == 1; }));
    EXPECT_EQ(History::load(safari(), testing::RefusingFolder()),
              (HistoryResult{{}, u"could not be read"_s}));

    QFile::remove(good);
    QFile::remove(nulls);
    EXPECT_EQ(load(), (HistoryResult{{}, u"could not be read"_s}));
}

// Another program's database is read as text (NULL as nothing), read-only, and every read
// stops at a bound and counts as failed: a view over an endless query, far too many rows or
// bytes, a name that is not a real table, a statement that does not prepare, a missing file.
TEST_F(SafariHistoryTest, ReadsOfForeignDatabasesAreReadOnlyAndBounded) {
    const QString db = path(u"foreign.db"_s);
    const QString endless = u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "_s;
    execute(db, u"CREATE TABLE t(a, b); INSERT INTO t VALUES('x', NULL), (2, 1.5);"
                u"CREATE VIEW urls AS "_s +
                    endless + u"SELECT i AS url, i AS visit_count FROM n"_s);
    const auto shown = [](const std::optional<QList<QStringList>>& rows) {
        QStringList lines;
        for (const QStringList& row : rows.value_or(QList<QStringList>{{u"failed"_s}}))
            lines.append(row.join(u','));
        return lines.join(u'|');
    };
    const QList<std::tuple<QString, QStringList, QString>> cases{
        {u"SELECT a, b FROM t ORDER BY rowid"_s, {u"T"_s}, u"x,|2,1.5"_s},
        {u"SELECT a FROM t WHERE 0"_s, {}, QString()},
        {u"INSERT INTO t VALUES(3, 3) RETURNING a"_s, {}, QString()},
        {u"SELECT count(*) FROM t"_s, {}, u"2"_s},
        {u"SELECT nothing FROM nowhere"_s, {}, u"failed"_s},
        {u"SELECT url FROM urls ORDER BY visit_count DESC LIMIT 5"_s, {u"urls"_s}, u"failed"_s},
        {endless + u"SELECT i FROM n"_s, {}, u"failed"_s},
        {endless + u"SELECT zeroblob(1000000) FROM n"_s, {}, u"failed"_s},
    };
    for (const auto& [sql, tables, expected] : cases)
        EXPECT_EQ(shown(History::query(db, sql, tables)), expected) << sql.toStdString();
    EXPECT_EQ(History::table(db, u"SELECT nothing FROM nowhere"_s), QList<QStringList>{});
    EXPECT_EQ(History::query(path(u"missing.db"_s), u"SELECT 1"_s), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(path(u"missing.db"_s))) << "a read must never create a file";
    // Sorting an endless query yields no row before the deadline.
    auto sorted = Sqlite::ReadOnlyQuery::prepare(db, endless + u"SELECT i FROM n ORDER BY i"_s, {},
                                                 QDeadlineTimer(100));
    ASSERT_TRUE(sorted);
    EXPECT_FALSE(sorted->next());
    EXPECT_TRUE(sorted->exceeded());
}

} // namespace
} // namespace kivaro::test
