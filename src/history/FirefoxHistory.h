#pragma once

#include "history/HistoryEntry.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// Firefox's history, read from copies of each profile's "places.sqlite". Firefox holds the
// database open in exclusive locking mode with a write-ahead log, so the file is copied together
// with its "-wal" (where the latest visits are) and only the copy is opened.
namespace FirefoxHistory {

// The profile folders that a "profiles.ini" in `root` names, each once: the default of each
// installation first, then the profile marked Default=1, then the others in file order.
// Relative paths stay inside `root`; a missing or malformed file names none.
QStringList profiles(const QString& root);

// The profile folders of every Firefox root (BrowserFolders::firefoxRoots), in root order.
QStringList profileFolders();

// Copies `db` (and its "-wal") into the private snapshot folder "kivaro-firefox-<slot>".
std::optional<QString> snapshot(const QString& db, const QString& slot,
                                const PrivateFolder& snapshots);

// The 5000 most visited addresses of a profile database that are neither hidden nor unvisited;
// nothing when it cannot be copied, opened or queried.
std::optional<QList<HistoryEntry>> read(const QString& db, const QString& slot,
                                        const PrivateFolder& snapshots);

// Every profile's history merged by address, with its status text. `slot` names the snapshot
// folders.
HistoryResult load(const QString& slot, const PrivateFolder& snapshots);

} // namespace FirefoxHistory

} // namespace kivaro
