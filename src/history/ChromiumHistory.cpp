#include "history/ChromiumHistory.h"

#include "history/BrowserFolders.h"
#include "history/History.h"
#include "history/Snapshot.h"
#include "history/Sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <sqlite3.h>

namespace kivaro::ChromiumHistory {

namespace {

const QString databaseName = QStringLiteral("History");
const QString journal = QStringLiteral("-journal");

// A "Local State" larger than this is not one; reading it would only cost memory.
constexpr qint64 largestLocalState = 64 * 1024 * 1024;

// 1601-01-01 00:00:00 UTC, Chromium's epoch, in seconds since 1970.
constexpr double chromiumEpoch = -11644473600.0;

const QString urlsQuery = QStringLiteral("SELECT url, COALESCE(title, ''), visit_count, "
                                         "last_visit_time\n"
                                         "FROM urls\n"
                                         "WHERE hidden = 0\n"
                                         "ORDER BY visit_count DESC\n"
                                         "LIMIT 5000");

QJsonObject localState(const QString& root) {
    QFile file(root + QStringLiteral("/Local State"));
    // Only a regular file: opening a pipe would wait for a writer.
    if (!QFileInfo(file).isFile() || file.size() > largestLocalState ||
        !file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Whether a profile name from "Local State" is one folder name: "../.." would lead the reader
// out of the browser's folder.
bool isFolderName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

QStringList profiles(const QString& root) {
    const QJsonObject cache =
        localState(root).value(u"profile").toObject().value(u"info_cache").toObject();
    QStringList names;
    for (const QString& name : cache.keys()) {
        if (isFolderName(name))
            names.append(name);
    }
    if (names.isEmpty())
        return {QStringLiteral("Default")};
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<QString> snapshot(const QString& db, const QString& slot,
                                const PrivateFolder& snapshots) {
    return Snapshot::take(db, QStringLiteral("kivaro-chromium-") + slot, databaseName, {journal},
                          snapshots);
}

void rollBack(const QString& copy) {
    if (const auto connection = Sqlite::Connection::open(copy, SQLITE_OPEN_READWRITE))
        connection->execute("SELECT count(*) FROM sqlite_master");
}

std::optional<QList<HistoryEntry>> read(const QString& db, const QString& slot,
                                        const PrivateFolder& snapshots) {
    const auto copy = snapshot(db, slot, snapshots);
    if (!copy)
        return std::nullopt;
    if (QFileInfo::exists(*copy + journal))
        rollBack(*copy);
    const auto rows = History::query(*copy, urlsQuery, {QStringLiteral("urls")});
    if (!rows)
        return std::nullopt;
    return History::entries(*rows, chromiumEpoch);
}

HistoryResult load(const QString& dataFolder, const QString& slot, const PrivateFolder& snapshots) {
    const QString noHistory = QStringLiteral("no history found");
    const QString root = BrowserFolders::supportFolder() + u'/' + dataFolder;
    if (!QFileInfo::exists(root))
        return {{}, noHistory};
    if (!BrowserFolders::canList(root))
        return {{}, QStringLiteral("could not be read")};
    QStringList found;
    for (const QString& profile : profiles(root)) {
        const QString db = root + u'/' + profile + u'/' + databaseName;
        if (QFileInfo::exists(db))
            found.append(db);
    }
    const auto readProfile = [&](const QString& db, int position) {
        return read(db, slot + u'-' + QString::number(position), snapshots);
    };
    return History::loadEach(found, readProfile, noHistory);
}

} // namespace kivaro::ChromiumHistory
