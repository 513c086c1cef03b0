#pragma once

#include "history/HistoryEntry.h"

#include <QHash>
#include <QList>

namespace kivaro {

// Entries merged by exact address, in the order addresses were first seen: the visits are
// added, the later visit is kept, and the title of the entry visited strictly later wins.
class HistoryMerge {
public:
    enum class Titles {
        ofLaterVisit,         // the stored title stays on equal times
        ofLaterVisitNonEmpty, // as above, but an empty title gives way to the other one
    };

    explicit HistoryMerge(Titles titles) : titles_(titles) {}

    void add(const HistoryEntry& entry);
    void add(const QList<HistoryEntry>& entries);
    qsizetype count() const { return entries_.size(); }
    QList<HistoryEntry> entries() const { return entries_; }

    // A reader's result: the entries and their count as "812 pages"; with none, "could not
    // be read" when some database failed, else `emptyStatus`.
    HistoryResult result(bool anyFailed, const QString& emptyStatus) const;

private:
    Titles titles_;
    QList<HistoryEntry> entries_;
    QHash<QString, qsizetype> positions_;
};

} // namespace kivaro
