#include "HistoryFixtures.h"

#include "support/ScopedEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <sqlite3.h>

namespace kivaro::test {

using namespace Qt::StringLiterals;

// SQL text for a value that may be NULL.
static QString literal(const std::optional<QString>& text) {
    if (!text)
        return u"NULL"_s;
    return u'\'' + QString(*text).replace(u'\'', u"''"_s) + u'\'';
}

void execute(const QString& db, const QString& sql, bool keepInWal) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(db).path()));
    const OpenDatabase open(db, false, keepInWal);
    ASSERT_EQ(open.execute(sql), SQLITE_OK) << open.error().toStdString();
}

OpenDatabase::OpenDatabase(const QString& db, bool readOnly, bool keepInWal)
    : handle_(nullptr, sqlite3_close) {
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* opened = nullptr;
    EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(db).constData(), &opened, flags, nullptr),
              SQLITE_OK);
    handle_.reset(opened);
    if (keepInWal) {
        sqlite3_db_config(opened, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        execute("PRAGMA wal_autocheckpoint = 0"_L1);
    }
}

int OpenDatabase::execute(const QString& sql) const {
    return sqlite3_exec(handle_.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr);
}

QString OpenDatabase::error() const {
    return QString::fromUtf8(sqlite3_errmsg(handle_.get()));
}

void createFromScript(const QString& db, const QString& scriptName) {
    const QString script = testing::fixtureText(scriptName);
    ASSERT_FALSE(script.isEmpty()) << scriptName.toStdString();
    execute(db, script);
}

QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(folder).relativeFilePath(file), readFile(file));
    }
    return files;
}

void makeFifo(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_EQ(QProcess::execute(u"mkfifo"_s, {path}), 0);
}

void truncate(const QString& path, double fraction) {
    QFile file(path);
    ASSERT_TRUE(file.resize(qint64(double(file.size()) * fraction)));
}

qint64 chromiumTime(const QDateTime& time) {
    return (time.toMSecsSinceEpoch() + 11644473600000LL) * 1000;
}

double safariTime(const QDateTime& time) {
    return double(time.toMSecsSinceEpoch()) / 1000.0 - 978307200.0;
}

QString rendered(const QList<HistoryEntry>& entries) {
    QStringList lines;
    for (const HistoryEntry& entry : entries)
        lines.append(u"%1|%2|%3|%4"_s.arg(entry.url, entry.title)
                         .arg(entry.visits)
                         .arg(entry.lastVisit.toUTC().toString(Qt::ISODateWithMs)));
    lines.sort();
    return lines.join(u'\n');
}

void HistoryTest::SetUp() {
    ASSERT_TRUE(home_.isValid());
    config_.emplace("XDG_CONFIG_HOME", QFile::encodeName(configFolder()));
    homeEnv_.emplace("HOME", QFile::encodeName(home_.path()));
    ASSERT_TRUE(QDir().mkpath(path(u"run"_s)));
    snapshots_.emplace(path(u"run"_s), u"kivaro"_s);
}

QString HistoryTest::chromiumProfile(const QString& dataFolder, const QString& profile) {
    const QString db = configFolder() + u'/' + dataFolder + u'/' + profile + u"/History"_s;
    createFromScript(db, u"chromium-history.sql"_s);
    return db;
}

void HistoryTest::addChromiumRow(const QString& db, const std::optional<QString>& url,
                                 const std::optional<QString>& title, const QString& visits,
                                 const QString& lastVisit, int hidden) {
    execute(db,
            QStringLiteral("INSERT INTO urls(url, title, visit_count, last_visit_time, hidden) "
                           "VALUES(%1, %2, %3, %4, %5);"
                           "INSERT INTO visits(url, visit_time) VALUES(last_insert_rowid(), %4);")
                .arg(literal(url), literal(title), visits, lastVisit)
                .arg(hidden));
}

QString HistoryTest::safariDatabase(const QString& relative) {
    const QString db = path(relative);
    createFromScript(db, u"safari-history.sql"_s);
    return db;
}

void HistoryTest::addSafariItem(const QString& db, const QString& url, qint64 visits,
                                const QList<std::pair<double, std::optional<QString>>>& visitsAt,
                                bool keepInWal) {
    QString sql = QStringLiteral("INSERT INTO history_items(url, visit_count, daily_visit_counts, "
                                 "should_recompute_derived_visit_counts, visit_count_score) "
                                 "VALUES(%1, %2, x'', 0, 0);")
                      .arg(literal(url))
                      .arg(visits);
    for (const auto& [time, title] : visitsAt) {
        sql += QStringLiteral("INSERT INTO history_visits(history_item, visit_time, title) "
                              "VALUES((SELECT id FROM history_items WHERE url = %1), %2, %3);")
                   .arg(literal(url))
                   .arg(time, 0, 'f', 3)
                   .arg(literal(title));
    }
    execute(db, sql, keepInWal);
}

} // namespace kivaro::test

namespace kivaro {

void PrintTo(const HistoryEntry& entry, std::ostream* out) {
    *out << test::rendered({entry}).toStdString();
}

} // namespace kivaro
