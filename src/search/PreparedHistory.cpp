#include "search/PreparedHistory.h"

#include "base/Web.h"

#include <QHash>

#include <cmath>
#include <limits>

namespace kivaro {

std::vector<HistoryFacts> HistoryFacts::prepare(const QList<HistoryEntry>& entries,
                                                const PageIndex& pages) {
    std::vector<HistoryFacts> facts;
    facts.reserve(size_t(entries.size()));
    QHash<QString, qsizetype> pageIDs;
    pageIDs.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const HistoryEntry& entry = entries[i];
        const QString page = Web::page(entry.url);
        auto known = pageIDs.constFind(page);
        if (known == pageIDs.cend())
            known = pageIDs.insert(page, pageIDs.size());
        facts.push_back(HistoryFacts{.pageID = known.value(),
                                     .bareHash = qHash(pages.at(i).bare()),
                                     .visitPoints = kivaro::visitPoints(entry.visits),
                                     .lastVisitSeconds = epochSeconds(entry.lastVisit)});
    }
    return facts;
}

double visitPoints(qint64 visits) {
    return 3 * std::log2(double(std::max<qint64>(visits, 0)) + 1);
}

double recencyPoints(double lastVisitSeconds, double nowSeconds) {
    double days = (nowSeconds - lastVisitSeconds) / 86400;
    if (std::isnan(days) || days < 0)
        days = 0;
    return 15 / (days + 1);
}

double epochSeconds(const QDateTime& date) {
    if (!date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return double(date.toMSecsSinceEpoch()) / 1000;
}

} // namespace kivaro
