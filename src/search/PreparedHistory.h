#pragma once

#include "history/HistoryEntry.h"
#include "search/PageIndex.h"

#include <QList>

#include <array>
#include <span>
#include <vector>

namespace kivaro {

struct HistoryFacts;

// Entries grouped by a text key, the groups in code-unit order of their keys, so that the
// entries whose key begins with a prefix lie together.
class EntriesByKey {
public:
    EntriesByKey() = default;
    template <typename KeyOf>
    static EntriesByKey of(qsizetype count, KeyOf keyOf);

    std::span<const quint32> startingWith(QStringView prefix) const;

private:
    std::vector<QString> keys_;
    std::vector<quint32> starts_{0}; // of each key's entries in entries_, and the end
    std::vector<quint32> entries_;
};

// The history entries in the orders a ranking pass visits them, so that a keystroke reads the
// few entries that can lead instead of all of them.
class HistoryOrder {
public:
    // An entry with what decides whether it needs reading: the points its visits and recency
    // earn as of the reference time, its characters and its initials (PageView).
    struct Ranked {
        double fixedPoints;
        quint64 characters;
        quint64 initials;
        quint32 entry;
    };
    using Reach = PageView::Reach;
    static constexpr int reaches = 3;

    HistoryOrder() = default;
    HistoryOrder(const PageIndex& pages, const std::vector<HistoryFacts>& facts);

    // The latest known visit. At any later time an entry earns at most its fixed points for
    // visits and recency, since recency only falls as time passes.
    double referenceSeconds() const { return reference_; }
    // Every entry, most fixed points first; equal points keep the list's order.
    const std::vector<Ranked>& byFixedPoints() const { return ranked_; }
    // The positions in byFixedPoints, ascending, of the entries a query whose first character
    // has the bit numbered `bit` reaches as far as `host` and `title`; nothing for none, none.
    std::span<const quint32> reaching(int bit, Reach host, Reach title) const {
        return reaching_[size_t(bit)][size_t(int(host) * reaches + int(title))];
    }
    // The entries whose host begins with `prefix`.
    std::span<const quint32> hostsStartingWith(QStringView prefix) const {
        return byHost_.startingWith(prefix);
    }
    // The entries whose bare address may begin with `prefix`: those whose bare address up to
    // its first "/" begins with the prefix's part up to its first "/".
    std::span<const quint32> bareMayStartWith(QStringView prefix) const;
    // The entries of one page (HistoryFacts::pageID), ascending.
    std::span<const quint32> pageEntries(qsizetype pageID) const {
        return std::span(pageEntries_)
            .subspan(pageStarts_[size_t(pageID)],
                     pageStarts_[size_t(pageID) + 1] - pageStarts_[size_t(pageID)]);
    }

private:
    void sortByFixedPoints(const std::vector<HistoryFacts>& facts, const PageIndex& pages);
    void groupByReach(const PageIndex& pages);
    void groupByPage(const std::vector<HistoryFacts>& facts);

    double reference_ = 0;
    std::vector<Ranked> ranked_;
    std::array<std::array<std::vector<quint32>, reaches * reaches>, 64> reaching_;
    EntriesByKey byHost_;
    EntriesByKey byBareHead_;
    std::vector<quint32> pageStarts_{0};
    std::vector<quint32> pageEntries_;
};

// What ranking derives from one history entry beyond its page forms.
struct HistoryFacts {
    qsizetype pageID = 0;    // equal for entries whose Web::page forms are equal
    size_t bareHash = 0;     // qHash of the bare address, for a quick set test
    double visitPoints = 0;  // 3 × log2(visits + 1)
    double lastVisitSeconds; // seconds since the epoch; NaN when the date is unknown

    using Order = HistoryOrder;

    static std::vector<HistoryFacts> prepare(const QList<HistoryEntry>& entries,
                                             const PageIndex& pages);
    static HistoryOrder order(const QList<HistoryEntry>&, const PageIndex& pages,
                              const std::vector<HistoryFacts>& facts) {
        return HistoryOrder(pages, facts);
    }
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
