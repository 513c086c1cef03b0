#pragma once

#include "history/HistoryEntry.h"
#include "search/PageIndex.h"

#include <QList>

#include <vector>

namespace kivaro {

// What ranking derives from one history entry beyond its page forms.
struct HistoryFacts {
    qsizetype pageID = 0;    // equal for entries whose Web::page forms are equal
    size_t bareHash = 0;     // qHash of the bare address, for a quick set test
    double visitPoints = 0;  // 3 × log2(visits + 1)
    double lastVisitSeconds; // seconds since the epoch; NaN when the date is unknown

    static std::vector<HistoryFacts> prepare(const QList<HistoryEntry>& entries,
                                             const PageIndex& pages);
};

using PreparedHistory = Prepared<HistoryEntry, HistoryFacts>;

// 3 × log2(visits + 1); a negative count from a damaged database counts as none.
double visitPoints(qint64 visits);

// 15 / (days + 1) for the days between the last visit and now; a visit in the future or
// on an unknown date counts as today.
double recencyPoints(double lastVisitSeconds, double nowSeconds);

// Seconds since the epoch with fraction; NaN for an invalid date.
double epochSeconds(const QDateTime& date);

} // namespace kivaro
