#pragma once

#include "history/HistoryEntry.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kivaro {

// Safari's history, read from copies of its databases (the main profile's and one per extra
// profile). Safari keeps the files open in write-ahead-log mode, so each database is copied
// with its "-wal" and "-shm" companions and only the copy is opened, read-only.
namespace History {

// The Safari folder of this platform; none where Safari does not run.
std::optional<QString> folder();

// Whether the Safari folder can be listed: without Full Disk Access macOS refuses.
bool hasAccess(const QString& folder);

// The database files that exist: the main one first, then each profile's, in listing order.
QStringList databases(const QString& folder);

// Copies `db` into the private snapshot folder "kivaro-history-<slot>"; the copy's path.
std::optional<QString> snapshot(const QString& db, int slot, const PrivateFolder& snapshots);

// The 5000 most visited addresses of a (copied) database; nothing when it cannot be opened
// or queried, or the read passes a bound (Sqlite::Bounds).
std::optional<QList<HistoryEntry>> read(const QString& db);

// Every column of every row as text (NULL as the empty string); nothing when the file does
// not open read-only, one of `tables` is not a real table of it, the statement does not
// prepare or the read passes a bound (Sqlite::Bounds).
std::optional<QList<QStringList>> query(const QString& db, const QString& sql,
                                        const QStringList& tables = {});

// As query, with any failure giving an empty list.
QList<QStringList> table(const QString& db, const QString& sql, const QStringList& tables = {});

// A time counted in microseconds since `epoch` (seconds since 1970); text that does not parse
// and impossible times (beyond year 9999) read as the epoch itself.
QDateTime microsecondsSince(double epoch, const QString& text);

// The entries of rows of (address, title, visits, last visit in microseconds since `epoch`);
// rows of another shape or without an address are left out, visits that do not parse count 0.
QList<HistoryEntry> entries(const QList<QStringList>& rows, double epoch);

// Reads each database (with its position in the list) and merges what it gives by address.
// The status counts the pages; with none, "could not be read" when a database gave nothing,
// otherwise `emptyStatus`.
using DatabaseReader =
    std::function<std::optional<QList<HistoryEntry>>(const QString& db, int position)>;
HistoryResult loadEach(const QStringList& databases, const DatabaseReader& read,
                       const QString& emptyStatus);

// Safari's history from every profile, merged by address, with its status text.
HistoryResult load(const PrivateFolder& snapshots);
HistoryResult load(const QString& folder, const PrivateFolder& snapshots);

} // namespace History

} // namespace kivaro
