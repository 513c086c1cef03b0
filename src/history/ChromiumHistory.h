#pragma once

#include "history/HistoryEntry.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// The history of a Chromium-family browser, read from copies of each profile's "History"
// database. A running browser holds that file under an exclusive lock (even a read-only open
// fails with "database is locked"), so copying its bytes is the only way in.
namespace ChromiumHistory {

// The profile folder names listed in the root's "Local State", sorted; "Default" alone when
// the file is missing or malformed.
QStringList profiles(const QString& root);

// Copies `db` (and its "-journal") into the private snapshot folder "kivaro-chromium-<slot>".
std::optional<QString> snapshot(const QString& db, const QString& slot,
                                const PrivateFolder& snapshots);

// The 5000 most visited addresses of a profile database; nothing when it cannot be copied,
// opened or queried.
std::optional<QList<HistoryEntry>> read(const QString& db, const QString& slot,
                                        const PrivateFolder& snapshots);

// Settles a copy taken mid-transaction: opening it lets SQLite roll the hot journal back into
// the copy. Only our own copy is ever written.
void rollBack(const QString& copy);

// Every profile of the browser whose data lives in `dataFolder` (under the support folder),
// merged by address, with its status text. `slot` names the snapshot folders (the browser's
// bundle identifier).
HistoryResult load(const QString& dataFolder, const QString& slot, const PrivateFolder& snapshots);

} // namespace ChromiumHistory

} // namespace kivaro
