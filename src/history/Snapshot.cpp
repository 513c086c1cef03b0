#include "history/Snapshot.h"

#include <QFileInfo>

namespace kivaro::Snapshot {

std::optional<QString> take(const QString& db, const QString& folderName, const QString& copyName,
                            const QStringList& suffixes, const PrivateFolder& snapshots) {
    const auto folder = snapshots.freshFolder(folderName);
    if (!folder || !snapshots.copyInto(db, *folder, copyName))
        return std::nullopt;
    for (const QString& suffix : suffixes) {
        if (QFileInfo::exists(db + suffix))
            snapshots.copyInto(db + suffix, *folder, copyName + suffix);
    }
    return *folder + u'/' + copyName;
}

} // namespace kivaro::Snapshot
