#include "history/HistorySource.h"

#include "history/BrowserFolders.h"
#include "history/ChromiumHistory.h"
#include "history/FirefoxHistory.h"
#include "history/History.h"
#include "history/HistoryMerge.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace kivaro {

namespace {

HistorySource chromiumSource(const BrowserFolders::ChromiumFolder& browser) {
    return {browser.bundleID, browser.name, browser.dataFolder, HistorySource::Reader::chromium};
}

QList<HistorySource> allSources() {
    QList<HistorySource> sources{{QStringLiteral("com.apple.Safari"), QStringLiteral("Safari"),
                                  std::nullopt, HistorySource::Reader::safari}};
    for (const auto& browser : BrowserFolders::chromiumFamily())
        sources.append(chromiumSource(browser));
    if (const auto arc = BrowserFolders::arc())
        sources.append(chromiumSource(*arc));
    sources.append({HistorySource::firefoxID, QStringLiteral("Firefox"), std::nullopt,
                    HistorySource::Reader::firefox});
    return sources;
}

bool hasData(const HistorySource& source) {
    if (source.dataFolder)
        return QFileInfo::exists(BrowserFolders::supportFolder() + u'/' + *source.dataFolder);
    const QStringList roots = BrowserFolders::firefoxRoots();
    return std::any_of(roots.begin(), roots.end(), [](const QString& root) {
        return QFileInfo::exists(root + QStringLiteral("/profiles.ini"));
    });
}

bool isPresent(const HistorySource& source, const HistorySource::InstalledCheck& installed) {
    if (source.reader == HistorySource::Reader::safari)
        return History::folder().has_value();
    return (installed && installed(source.id)) || hasData(source);
}

} // namespace

const QList<HistorySource>& HistorySource::all() {
    static const QList<HistorySource> sources = allSources();
    return sources;
}

QList<HistorySource> HistorySource::available(const InstalledCheck& installed) {
    QList<HistorySource> present;
    for (const HistorySource& source : all()) {
        if (isPresent(source, installed))
            present.append(source);
    }
    return present;
}

std::optional<HistorySource> HistorySource::source(const QString& id) {
    for (const HistorySource& source : all()) {
        if (source.id == id)
            return source;
    }
    return std::nullopt;
}

QList<HistoryEntry> HistorySource::merge(const QList<QList<HistoryEntry>>& lists) {
    HistoryMerge merged(HistoryMerge::Titles::ofLaterVisitNonEmpty);
    for (const QList<HistoryEntry>& list : lists)
        merged.add(list);
    return merged.entries();
}

HistoryResult HistorySource::history(const PrivateFolder& snapshots) const {
    switch (reader) {
    case Reader::safari:
        return History::load(snapshots);
    case Reader::chromium:
        return ChromiumHistory::load(dataFolder.value_or(QString()), id, snapshots);
    case Reader::firefox:
        return FirefoxHistory::load(id, snapshots);
    }
    return {};
}

HistoryResult HistorySource::load(const Front& front, const QSet<QString>& extra,
                                  const PrivateFolder& snapshots, const InstalledCheck& installed) {
    QList<HistorySource> extras;
    for (const HistorySource& candidate : available(installed)) {
        if (extra.contains(candidate.id) && candidate.id != front.id)
            extras.append(candidate);
    }
    if (extras.isEmpty())
        return {front.history.entries, front.name + QStringLiteral(", ") + front.history.status};
    QList<QList<HistoryEntry>> lists{front.history.entries};
    QStringList names{front.name};
    for (const HistorySource& source : extras) {
        lists.append(source.history(snapshots).entries);
        names.append(source.name);
    }
    const QList<HistoryEntry> entries = merge(lists);
    return {entries, QString::number(entries.size()) + QStringLiteral(" pages from ") +
                         QLocale().createSeparatedList(names)};
}

} // namespace kivaro
