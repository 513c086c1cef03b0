#include "history/FirefoxHistory.h"

#include "history/BrowserFolders.h"
#include "history/History.h"
#include "history/Snapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace kivaro::FirefoxHistory {

namespace {

const QString databaseName = QStringLiteral("places.sqlite");

// A "profiles.ini" of a few hundred profiles is a few kilobytes.
constexpr qint64 largestIni = 1024 * 1024;

const QString placesQuery = QStringLiteral("SELECT url, COALESCE(title, ''), visit_count, "
                                           "last_visit_date\n"
                                           "FROM moz_places\n"
                                           "WHERE hidden = 0 AND visit_count > 0\n"
                                           "ORDER BY visit_count DESC\n"
                                           "LIMIT 5000");

// One section of an INI file: its name and its key=value lines.
struct Section {
    QString name;
    QHash<QString, QString> values;
};

QList<Section> iniSections(const QString& path) {
    QFile file(path);
    // Only a regular file: opening a pipe would wait for a writer.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QList<Section> sections;
    for (const QString& raw : QString::fromUtf8(file.read(largestIni)).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']'))
            sections.append({line.mid(1, line.size() - 2), {}});
        else if (const qsizetype equals = line.indexOf(u'='); equals > 0 && !sections.isEmpty())
            sections.last().values.insert(line.left(equals).trimmed(),
                                          line.mid(equals + 1).trimmed());
    }
    return sections;
}

// The profile folder a path names: an absolute one as it is, a relative one under `root` as
// long as it stays there.
std::optional<QString> folderOf(const QString& root, const QString& path, bool mustBeAbsolute) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    const QString inside = QDir::cleanPath(root + u'/' + path);
    if (mustBeAbsolute || !inside.startsWith(QDir::cleanPath(root) + u'/'))
        return std::nullopt;
    return inside;
}

// Whether a root is there but refuses to be listed.
bool anyUnreadable() {
    const QStringList roots = BrowserFolders::firefoxRoots();
    return std::any_of(roots.begin(), roots.end(), [](const QString& root) {
        return QFileInfo::exists(root) && !BrowserFolders::canList(root);
    });
}

} // namespace

QStringList profiles(const QString& root) {
    QStringList installDefaults;
    QStringList marked;
    QStringList others;
    for (const Section& section : iniSections(root + QStringLiteral("/profiles.ini"))) {
        const QString path = section.values.value(QStringLiteral("Path"));
        if (section.name.startsWith(u"Install")) {
            const QString chosen = section.values.value(QStringLiteral("Default"));
            if (const auto folder = folderOf(root, chosen, false))
                installDefaults.append(*folder);
        } else if (section.name.startsWith(u"Profile")) {
            const bool absolute = section.values.value(QStringLiteral("IsRelative")) == u"0";
            const auto folder = folderOf(root, path, absolute);
            if (folder)
                (section.values.value(QStringLiteral("Default")) == u"1" ? marked : others)
                    .append(*folder);
        }
    }
    QStringList ordered = installDefaults + marked + others;
    ordered.removeDuplicates();
    return ordered;
}

QStringList profileFolders() {
    QStringList folders;
    for (const QString& root : BrowserFolders::firefoxRoots())
        folders += profiles(root);
    folders.removeDuplicates();
    return folders;
}

std::optional<QString> snapshot(const QString& db, const QString& slot,
                                const PrivateFolder& snapshots) {
    return Snapshot::take(db, QStringLiteral("kivaro-firefox-") + slot, databaseName,
                          {QStringLiteral("-wal")}, snapshots);
}

std::optional<QList<HistoryEntry>> read(const QString& db, const QString& slot,
                                        const PrivateFolder& snapshots) {
    const auto copy = snapshot(db, slot, snapshots);
    if (!copy)
        return std::nullopt;
    const auto rows = History::query(*copy, placesQuery);
    if (!rows)
        return std::nullopt;
    return History::entries(*rows, 0);
}

HistoryResult load(const QString& slot, const PrivateFolder& snapshots) {
    QStringList found;
    for (const QString& folder : profileFolders()) {
        if (QFileInfo::exists(folder + u'/' + databaseName))
            found.append(folder + u'/' + databaseName);
    }
    if (found.isEmpty())
        return {{},
                anyUnreadable() ? QStringLiteral("could not be read")
                                : QStringLiteral("no history found")};
    const auto readProfile = [&](const QString& db, int position) {
        return read(db, slot + u'-' + QString::number(position), snapshots);
    };
    return History::loadEach(found, readProfile, QStringLiteral("no history found"));
}

} // namespace kivaro::FirefoxHistory
