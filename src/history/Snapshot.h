#pragma once

#include "platform/PrivateFolder.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro::Snapshot {

// Copies the database `db` into a fresh private folder `folderName` under the name `copyName`,
// with each companion (`db` + suffix) that exists beside it under the same suffix. The live
// files are only ever read. The copy's path, or nothing when the database was not copied.
std::optional<QString> take(const QString& db, const QString& folderName, const QString& copyName,
                            const QStringList& suffixes, const PrivateFolder& snapshots);

} // namespace kivaro::Snapshot
