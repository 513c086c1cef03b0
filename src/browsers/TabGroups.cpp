#include "browsers/TabGroups.h"

#include "base/Web.h"
#include "history/BrowserFolders.h"
#include "history/History.h"

#include <QDir>
#include <QHash>
#include <QStringList>

namespace kivaro::TabGroups {

namespace {

using namespace Qt::StringLiterals;

const QString profilesQuery =
    u"SELECT id, title FROM bookmarks WHERE type = 1 AND subtype = 2 AND deleted = 0"_s;
const QString namedGroupsQuery =
    u"SELECT id, title FROM bookmarks\n"
    u"WHERE type = 1 AND subtype = 0 AND parent = 0 AND hidden = 0 AND deleted = 0 AND title != ''"_s;
const QString pinnedFolderQuery =
    u"SELECT id FROM bookmarks WHERE type = 1 AND parent = 0 AND title = 'pinned' AND deleted = 0"_s;
const QString windowsQuery =
    u"SELECT COALESCE(active_tab_group_id, -1), COALESCE(local_tab_group_id, -1), "
    u"COALESCE(active_profile_id, -1)\n"
    u"FROM windows WHERE date_closed IS NULL"_s;
const QString tabsQuery =
    u"SELECT t.parent, t.title, t.url FROM bookmarks t JOIN bookmarks g ON t.parent = g.id\n"
    u"WHERE t.type = 0 AND t.deleted = 0 AND g.deleted = 0 AND t.url IS NOT NULL AND t.url != ''\n"
    u"ORDER BY t.parent, t.order_index"_s;
const QString pinnedTabsQuery =
    u"SELECT t.url FROM bookmarks t JOIN bookmarks g ON t.parent = g.id\n"
    u"WHERE g.type = 1 AND g.parent = 0 AND g.title = 'pinned' AND t.type = 0 AND t.deleted = 0"_s;

// The table every query but the windows' reads; it must be a real one.
const QStringList bookmarks{u"bookmarks"_s};

struct StoredTab {
    QString title;
    QString url;
};

struct Group {
    qint64 id = 0;
    QString name;
};

// One open window: the group it shows, its own unnamed group, its profile (-1 when unknown).
struct OpenWindow {
    qint64 shown = -1;
    qint64 local = -1;
    qint64 profile = -1;
};

struct Database {
    QHash<qint64, QString> profiles;
    QList<Group> namedGroups;
    QList<qint64> pinnedFolders;
    QList<OpenWindow> windows;
    QHash<qint64, QList<StoredTab>> tabs;
};

std::optional<qint64> identifier(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

// Rows of (id, title) whose id parses; the others are skipped.
QList<Group> groupsIn(const QList<QStringList>& rows) {
    QList<Group> groups;
    for (const QStringList& row : rows) {
        if (const auto id = identifier(row.value(0)))
            groups.append({*id, row.value(1)});
    }
    return groups;
}

QHash<qint64, QString> profilesIn(const QString& copy) {
    QHash<qint64, QString> profiles;
    for (const Group& profile : groupsIn(History::table(copy, profilesQuery, bookmarks)))
        profiles.insert(profile.id, profile.name.isEmpty() ? defaultProfile : profile.name);
    return profiles;
}

QList<qint64> pinnedFoldersIn(const QString& copy) {
    QList<qint64> folders;
    for (const Group& folder : groupsIn(History::table(copy, pinnedFolderQuery, bookmarks)))
        folders.append(folder.id);
    return folders;
}

QList<OpenWindow> windowsIn(const QString& copy) {
    QList<OpenWindow> windows;
    for (const QStringList& row : History::table(copy, windowsQuery, {u"windows"_s})) {
        windows.append({identifier(row.value(0)).value_or(-1),
                        identifier(row.value(1)).value_or(-1),
                        identifier(row.value(2)).value_or(-1)});
    }
    return windows;
}

QHash<qint64, QList<StoredTab>> tabsIn(const QString& copy) {
    QHash<qint64, QList<StoredTab>> tabs;
    for (const QStringList& row : History::table(copy, tabsQuery, bookmarks)) {
        if (const auto parent = identifier(row.value(0)))
            tabs[*parent].append({row.value(1), row.value(2)});
    }
    return tabs;
}

Database read(const QString& copy) {
    return {profilesIn(copy), groupsIn(History::table(copy, namedGroupsQuery, bookmarks)),
            pinnedFoldersIn(copy), windowsIn(copy), tabsIn(copy)};
}

QSet<QString> bareAddresses(const QList<StoredTab>& tabs) {
    QSet<QString> addresses;
    for (const StoredTab& tab : tabs)
        addresses.insert(Web::bare(tab.url));
    return addresses;
}

QHash<qint64, QSet<QString>> liveWindows(const QList<SafariTab>& live) {
    QHash<qint64, QSet<QString>> windows;
    for (const SafariTab& tab : live)
        windows[tab.windowID].insert(Web::bare(tab.url));
    return windows;
}

bool sharesAddress(const QSet<QString>& addresses, const QHash<qint64, QSet<QString>>& windows) {
    for (const QSet<QString>& window : windows) {
        if (addresses.intersects(window))
            return true;
    }
    return false;
}

// The groups to offer, in order: named groups; the unnamed group of each open window whose
// shown group is live (under its profile's name); the pinned folders.
QList<Group> offeredGroups(const Database& db, const QList<SafariTab>& live) {
    QList<Group> groups = db.namedGroups;
    const QHash<qint64, QSet<QString>> windows = liveWindows(live);
    for (const OpenWindow& window : db.windows) {
        if (sharesAddress(bareAddresses(db.tabs.value(window.shown)), windows))
            groups.append({window.local, db.profiles.value(window.profile, defaultProfile)});
    }
    for (const qint64 folder : db.pinnedFolders)
        groups.append({folder, defaultProfile});
    return groups;
}

SafariTab notOpenTab(const StoredTab& tab, const QString& group) {
    return {.windowID = -1,
            .windowOrder = 3,
            .index = -1,
            .title = tab.title,
            .url = tab.url,
            .group = group,
            .isCurrent = false};
}

std::optional<QString> snapshot(const QString& database, const PrivateFolder& snapshots) {
    return History::snapshot(database, snapshotSlot, snapshots);
}

} // namespace

std::optional<QString> database() {
    // Safari's container lies beside its folder; where there is no Safari there is neither.
    if (!BrowserFolders::safariFolder())
        return std::nullopt;
    return QDir::homePath() +
           u"/Library/Containers/com.apple.Safari/Data/Library/Safari/SafariTabs.db"_s;
}

QList<SafariTab> load(const QList<SafariTab>& live, const QString& database,
                      const PrivateFolder& snapshots) {
    const auto copy = snapshot(database, snapshots);
    if (!copy)
        return {};
    const Database db = read(*copy);
    QSet<QString> listed;
    for (const SafariTab& tab : live)
        listed.insert(Web::bare(tab.url));
    QList<SafariTab> offered;
    for (const Group& group : offeredGroups(db, live)) {
        for (const StoredTab& tab : db.tabs.value(group.id)) {
            const QString bare = Web::bare(tab.url);
            if (!tab.url.startsWith(u"http") || listed.contains(bare))
                continue;
            listed.insert(bare);
            offered.append(notOpenTab(tab, group.name));
        }
    }
    return offered;
}

std::optional<QSet<QString>> pinnedURLs(const QString& database, const PrivateFolder& snapshots) {
    const auto copy = snapshot(database, snapshots);
    // A database that does not answer protects nothing: callers must not take it as "no pins".
    const auto rows = copy ? History::query(*copy, pinnedTabsQuery, bookmarks) : std::nullopt;
    if (!rows)
        return std::nullopt;
    QSet<QString> pinned;
    for (const QStringList& row : *rows)
        pinned.insert(Web::bare(row.value(0)));
    return pinned;
}

} // namespace kivaro::TabGroups
