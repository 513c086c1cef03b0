#pragma once

#include "browsers/SafariTab.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace kivaro {

// Safari's tab groups and pinned tabs, read from a private copy of its tab database
// (SafariTabs.db), read-only. Safari's scripting only sees the groups shown in a window;
// the database knows them all.
namespace TabGroups {

// The snapshot slot the copies land in ("kivaro-history-51").
inline constexpr int snapshotSlot = 51;
// The name of a profile without a title, and the group name of pinned tabs.
inline const QString defaultProfile = QStringLiteral("Personal");

// SafariTabs.db in the user's home folder; none where Safari does not run.
std::optional<QString> database();

// The tabs stored in the database that are not among the live tabs (Safari::tabs): the tabs of
// groups no window shows, the hidden unnamed groups of windows showing a named group, and
// the pinned tabs; each address once. Empty when the database cannot be copied or read.
QList<SafariTab> load(const QList<SafariTab>& live, const QString& database,
                      const PrivateFolder& snapshots);

// The bare addresses of the pinned tabs; nothing when no snapshot could be taken.
std::optional<QSet<QString>> pinnedURLs(const QString& database, const PrivateFolder& snapshots);

} // namespace TabGroups

} // namespace kivaro
