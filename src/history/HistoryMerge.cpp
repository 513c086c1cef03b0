#include "history/HistoryMerge.h"

namespace kivaro {

void HistoryMerge::add(const HistoryEntry& entry) {
    const auto found = positions_.constFind(entry.url);
    if (found == positions_.cend()) {
        positions_.insert(entry.url, entries_.size());
        entries_.append(entry);
        return;
    }
    HistoryEntry& stored = entries_[*found];
    const bool newer = entry.lastVisit > stored.lastVisit;
    QString title = newer ? entry.title : stored.title;
    if (titles_ == Titles::ofLaterVisitNonEmpty && title.isEmpty())
        title = newer ? stored.title : entry.title;
    stored.title = title;
    stored.visits += entry.visits;
    if (newer)
        stored.lastVisit = entry.lastVisit;
}

void HistoryMerge::add(const QList<HistoryEntry>& entries) {
    for (const HistoryEntry& entry : entries)
        add(entry);
}

HistoryResult HistoryMerge::result(bool anyFailed, const QString& emptyStatus) const {
    if (!entries_.isEmpty())
        return {entries_, QString::number(entries_.size()) + QStringLiteral(" pages")};
    return {{}, anyFailed ? QStringLiteral("could not be read") : emptyStatus};
}

} // namespace kivaro
