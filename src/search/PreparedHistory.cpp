#include "search/PreparedHistory.h"

#include "base/Web.h"

#include <QHash>

#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

namespace kivaro {

namespace {

// Code-unit order, the order in which Text::startsWith sees a prefix: the keys beginning with
// a prefix sit together right after the keys below it.
std::u16string_view units(QStringView text) {
    return {text.utf16(), size_t(text.size())};
}

// A bare address up to its first "/".
QStringView head(QStringView bare) {
    const qsizetype slash = bare.indexOf(u'/');
    return slash < 0 ? bare : bare.first(slash);
}

double latestVisit(const std::vector<HistoryFacts>& facts) {
    double latest = -std::numeric_limits<double>::infinity();
    for (const HistoryFacts& entry : facts) {
        if (entry.lastVisitSeconds > latest)
            latest = entry.lastVisitSeconds;
    }
    return latest;
}

} // namespace

template <typename KeyOf>
EntriesByKey EntriesByKey::of(qsizetype count, KeyOf keyOf) {
    QHash<QStringView, quint32> ids;
    std::vector<quint32> idOf(static_cast<size_t>(count));
    std::vector<QStringView> keys;
    for (qsizetype i = 0; i < count; ++i) {
        const QStringView key = keyOf(quint32(i));
        auto known = ids.constFind(key);
        if (known == ids.cend()) {
            known = ids.insert(key, quint32(keys.size()));
            keys.push_back(key);
        }
        idOf[size_t(i)] = known.value();
    }
    std::vector<quint32> sortedIDs(keys.size());
    std::iota(sortedIDs.begin(), sortedIDs.end(), 0);
    std::sort(sortedIDs.begin(), sortedIDs.end(),
              [&](quint32 a, quint32 b) { return units(keys[a]) < units(keys[b]); });
    std::vector<quint32> rankOf(keys.size());
    EntriesByKey grouped;
    grouped.starts_.assign(keys.size() + 1, 0);
    for (size_t rank = 0; rank < sortedIDs.size(); ++rank) {
        rankOf[sortedIDs[rank]] = quint32(rank);
        grouped.keys_.push_back(keys[sortedIDs[rank]].toString());
    }
    for (quint32 id : idOf)
        ++grouped.starts_[rankOf[id] + 1];
    std::partial_sum(grouped.starts_.begin(), grouped.starts_.end(), grouped.starts_.begin());
    std::vector<quint32> filled(grouped.starts_.begin(), grouped.starts_.end() - 1);
    grouped.entries_.resize(idOf.size());
    for (size_t i = 0; i < idOf.size(); ++i)
        grouped.entries_[filled[rankOf[idOf[i]]]++] = quint32(i);
    return grouped;
}

std::span<const quint32> EntriesByKey::startingWith(QStringView prefix) const {
    const auto first = std::partition_point(
        keys_.begin(), keys_.end(), [&](const QString& key) { return units(key) < units(prefix); });
    const auto last = std::partition_point(
        first, keys_.end(), [&](const QString& key) { return Text::startsWith(key, prefix); });
    const quint32 begin = starts_[size_t(first - keys_.begin())];
    const quint32 end = starts_[size_t(last - keys_.begin())];
    return std::span(entries_).subspan(begin, end - begin);
}

HistoryOrder::HistoryOrder(const PageIndex& pages, const std::vector<HistoryFacts>& facts)
    : reference_(latestVisit(facts)),
      byHost_(EntriesByKey::of(pages.size(), [&](quint32 i) { return pages.at(i).host(); })),
      byBareHead_(
          EntriesByKey::of(pages.size(), [&](quint32 i) { return head(pages.at(i).bare()); })) {
    sortByFixedPoints(facts, pages);
    groupByReach(pages);
    groupByPage(facts);
}

void HistoryOrder::sortByFixedPoints(const std::vector<HistoryFacts>& facts,
                                     const PageIndex& pages) {
    ranked_.reserve(facts.size());
    for (size_t i = 0; i < facts.size(); ++i) {
        const PageView page = pages.at(qsizetype(i));
        ranked_.push_back({.fixedPoints = facts[i].visitPoints +
                                          recencyPoints(facts[i].lastVisitSeconds, reference_),
                           .characters = page.characters(),
                           .initials = page.initials(),
                           .entry = quint32(i)});
    }
    std::sort(ranked_.begin(), ranked_.end(), [](const Ranked& a, const Ranked& b) {
        return a.fixedPoints > b.fixedPoints ||
               (a.fixedPoints == b.fixedPoints && a.entry < b.entry);
    });
}

void HistoryOrder::groupByReach(const PageIndex& pages) {
    for (size_t position = 0; position < ranked_.size(); ++position) {
        const PageView page = pages.at(ranked_[position].entry);
        for (quint64 rest = ranked_[position].initials; rest; rest &= rest - 1) {
            const int bit = std::countr_zero(rest);
            const quint64 mask = quint64(1) << bit;
            const int group = int(page.hostReach(mask)) * reaches + int(page.titleReach(mask));
            reaching_[size_t(bit)][size_t(group)].push_back(quint32(position));
        }
    }
}

void HistoryOrder::groupByPage(const std::vector<HistoryFacts>& facts) {
    qsizetype pageCount = 0;
    for (const HistoryFacts& entry : facts)
        pageCount = std::max(pageCount, entry.pageID + 1);
    pageStarts_.assign(size_t(pageCount) + 1, 0);
    for (const HistoryFacts& entry : facts)
        ++pageStarts_[size_t(entry.pageID) + 1];
    std::partial_sum(pageStarts_.begin(), pageStarts_.end(), pageStarts_.begin());
    pageEntries_.resize(facts.size());
    std::vector<quint32> filled(pageStarts_.begin(), pageStarts_.end() - 1);
    for (size_t i = 0; i < facts.size(); ++i)
        pageEntries_[filled[size_t(facts[i].pageID)]++] = quint32(i);
}

std::span<const quint32> HistoryOrder::bareMayStartWith(QStringView prefix) const {
    return byBareHead_.startingWith(head(prefix));
}

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
