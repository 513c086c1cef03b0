#include "history/History.h"

#include "history/BrowserFolders.h"
#include "history/HistoryMerge.h"
#include "history/Snapshot.h"
#include "history/Sqlite.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace kivaro::History {

namespace {

const QString databaseName = QStringLiteral("History.db");

// 2001-01-01 00:00:00 UTC, Safari's epoch, in seconds since 1970.
constexpr double safariEpoch = 978307200.0;

// Any time beyond year 9999 is damage; it reads as the epoch rather than overflowing.
QDateTime safariTime(double seconds) {
    constexpr double latest = 253402300799.0 - safariEpoch;
    if (!std::isfinite(seconds) || std::abs(seconds) > latest)
        seconds = 0;
    return QDateTime::fromMSecsSinceEpoch(std::llround((seconds + safariEpoch) * 1000.0), Qt::UTC);
}

const QString visitsQuery =
    QStringLiteral("SELECT i.url, COALESCE(v.title, ''), i.visit_count, MAX(v.visit_time)\n"
                   "FROM history_items i JOIN history_visits v ON v.history_item = i.id\n"
                   "GROUP BY i.id\n"
                   "ORDER BY i.visit_count DESC\n"
                   "LIMIT 5000");

} // namespace

std::optional<QString> folder() {
    return BrowserFolders::safariFolder();
}

bool hasAccess(const QString& folder) {
    return BrowserFolders::canList(folder);
}

QStringList databases(const QString& folder) {
    QStringList candidates{folder + u'/' + databaseName};
    const QString profiles = folder + QStringLiteral("/Profiles");
    const QStringList entries = QDir(profiles).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries)
        candidates.append(profiles + u'/' + entry + u'/' + databaseName);
    QStringList existing;
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            existing.append(candidate);
    }
    return existing;
}

std::optional<QString> snapshot(const QString& db, int slot, const PrivateFolder& snapshots) {
    return Snapshot::take(db, QStringLiteral("kivaro-history-") + QString::number(slot),
                          databaseName, {QStringLiteral("-wal"), QStringLiteral("-shm")},
                          snapshots);
}

std::optional<QList<HistoryEntry>> read(const QString& db) {
    auto query = Sqlite::ReadOnlyQuery::prepare(
        db, visitsQuery, {QStringLiteral("history_items"), QStringLiteral("history_visits")});
    if (!query)
        return std::nullopt;
    QList<HistoryEntry> entries;
    const Sqlite::Statement& rows = query->statement;
    while (query->next()) {
        if (rows.isNull(0))
            continue;
        entries.append(HistoryEntry{.url = rows.text(0),
                                    .title = rows.text(1),
                                    .visits = rows.int32(2),
                                    .lastVisit = safariTime(rows.real(3))});
    }
    if (query->exceeded())
        return std::nullopt;
    return entries;
}

std::optional<QList<QStringList>> query(const QString& db, const QString& sql,
                                        const QStringList& tables) {
    auto prepared = Sqlite::ReadOnlyQuery::prepare(db, sql, tables);
    if (!prepared)
        return std::nullopt;
    const Sqlite::Statement& rows = prepared->statement;
    const int columns = rows.columns();
    QList<QStringList> table;
    while (prepared->next()) {
        QStringList row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column)
            row.append(rows.text(column));
        table.append(row);
    }
    if (prepared->exceeded())
        return std::nullopt;
    return table;
}

QList<QStringList> table(const QString& db, const QString& sql, const QStringList& tables) {
    return query(db, sql, tables).value_or(QList<QStringList>{});
}

QDateTime microsecondsSince(double epoch, const QString& text) {
    const double latest = (253402300799.0 - epoch) * 1e6;
    bool ok = false;
    double microseconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(microseconds) || std::abs(microseconds) > latest)
        microseconds = 0;
    return QDateTime::fromMSecsSinceEpoch(std::llround(microseconds / 1000.0 + epoch * 1000.0),
                                          Qt::UTC);
}

QList<HistoryEntry> entries(const QList<QStringList>& rows, double epoch) {
    QList<HistoryEntry> entries;
    for (const QStringList& row : rows) {
        if (row.size() != 4 || row[0].isEmpty())
            continue;
        bool ok = false;
        const qint64 visits = row[2].toLongLong(&ok);
        entries.append(HistoryEntry{.url = row[0],
                                    .title = row[1],
                                    .visits = ok ? visits : 0,
                                    .lastVisit = microsecondsSince(epoch, row[3])});
    }
    return entries;
}

HistoryResult loadEach(const QStringList& databases, const DatabaseReader& read,
                       const QString& emptyStatus) {
    HistoryMerge merged(HistoryMerge::Titles::ofLaterVisit);
    bool anyFailed = false;
    for (int position = 0; position < databases.size(); ++position) {
        const auto entries = read(databases[position], position);
        anyFailed = anyFailed || !entries;
        if (entries)
            merged.add(*entries);
    }
    return merged.result(anyFailed, emptyStatus);
}

HistoryResult load(const PrivateFolder& snapshots) {
    const auto safari = folder();
    if (!safari)
        return {{}, QStringLiteral("no history found")};
    return load(*safari, snapshots);
}

HistoryResult load(const QString& folder, const PrivateFolder& snapshots) {
    if (!hasAccess(folder))
        return {{}, QStringLiteral("needs Full Disk Access")};
    HistoryMerge merged(HistoryMerge::Titles::ofLaterVisit);
    int failures = 0;
    const QStringList found = databases(folder);
    for (int slot = 0; slot < found.size(); ++slot) {
        const auto copy = snapshot(found[slot], slot, snapshots);
        const auto entries = copy ? read(*copy) : std::nullopt;
        if (!entries) {
            ++failures;
            continue;
        }
        merged.add(*entries);
    }
    return merged.result(failures > 0, QStringLiteral("empty"));
}

} // namespace kivaro::History
