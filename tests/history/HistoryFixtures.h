#pragma once

#include "history/HistoryEntry.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/ScopedEnv.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <optional>

struct sqlite3;

namespace kivaro::test {

// A connection held open across a test, as a running browser holds its database; closed
// on every path. With `keepInWal` it closes without a checkpoint, so in WAL mode its changes
// stay in the "-wal" file only, as they do while Safari runs.
class OpenDatabase {
public:
    explicit OpenDatabase(const QString& db, bool readOnly = false, bool keepInWal = false);

    // SQLite's result code.
    int execute(const QString& sql) const;
    QString error() const;

private:
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> handle_;
};

// Runs `sql` on the database file (created when missing); a failure fails the test.
void execute(const QString& db, const QString& sql, bool keepInWal = false);

// Runs one of the SQL scripts in tests/fixtures on the database (created when missing).
void createFromScript(const QString& db, const QString& scriptName);

using testing::readFile;
using testing::writeFile;
// The bytes of every file below `folder`, keyed by relative path: to show nothing was written.
QMap<QString, QByteArray> contents(const QString& folder);
void makeFifo(const QString& path);
// Cuts the file to a `fraction` of its size, as a crash mid-copy would.
void truncate(const QString& path, double fraction);

// Microseconds since 1601 and seconds since 2001, the browsers' own clocks.
qint64 chromiumTime(const QDateTime& time);
double safariTime(const QDateTime& time);

// The entries as "url|title|visits|last visit" (UTC, to the millisecond), sorted, one a line.
QString rendered(const QList<HistoryEntry>& entries);

// Each test gets a private home: the configuration folder (where Chromium-family data lives on
// Linux) and the snapshot folder are inside it, and the previous environment comes back after.
class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override;

    QString configFolder() const { return home_.path() + QStringLiteral("/.config"); }
    QString path(const QString& relative) const { return home_.path() + u'/' + relative; }
    QString snapshotFolder(const QString& slot) const {
        return path(QStringLiteral("run/kivaro/") + slot);
    }
    // A profile's History database with the real layout, under the browser's data folder.
    QString chromiumProfile(const QString& dataFolder, const QString& profile);
    void addChromiumRow(const QString& db, const std::optional<QString>& url,
                        const std::optional<QString>& title, const QString& visits,
                        const QString& lastVisit, int hidden = 0);

    // Safari's History.db, in WAL mode, at `relative` under the home folder.
    QString safariDatabase(const QString& relative);
    void addSafariItem(const QString& db, const QString& url, qint64 visits,
                       const QList<std::pair<double, std::optional<QString>>>& visitsAt,
                       bool keepInWal = false);

    QTemporaryDir home_;
    std::optional<PosixPrivateFolder> snapshots_;

private:
    std::optional<testing::ScopedEnv> config_;
    std::optional<testing::ScopedEnv> homeEnv_; // Firefox's profiles live under the home folder
};

} // namespace kivaro::test

namespace kivaro {

// Readable failures: the entry as text.
void PrintTo(const HistoryEntry& entry, std::ostream* out);

} // namespace kivaro
