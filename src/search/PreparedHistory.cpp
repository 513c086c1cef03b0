#include "search/PreparedHistory.h"

#include "search/Web.h"

#include <QHash>

#include <cmath>
#include <limits>

namespace kivaro {

QList<HistoryKey> HistoryKey::prepare(const QList<HistoryEntry>& entries) {
    QList<HistoryKey> keys;
    keys.reserve(entries.size());
    QHash<QString, qsizetype> pageIDs;
    pageIDs.reserve(entries.size());
    for (const HistoryEntry& entry : entries) {
        HistoryKey key{.page = PageKey::of(entry.title, entry.url),
                       .pageID = 0,
                       .bareHash = 0,
                       .visitPoints = kivaro::visitPoints(entry.visits),
                       .lastVisitSeconds = epochSeconds(entry.lastVisit)};
        key.bareHash = qHash(key.page.bare());
        const QString page = Web::page(entry.url);
        auto known = pageIDs.constFind(page);
        if (known == pageIDs.cend())
            known = pageIDs.insert(page, pageIDs.size());
        key.pageID = known.value();
        keys.append(std::move(key));
    }
    return keys;
}

double visitPoints(qint64 visits) { return 3 * std::log2(double(std::max<qint64>(visits, 0)) + 1); }

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
