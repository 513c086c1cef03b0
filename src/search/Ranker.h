#pragma once

#include "browsers/Command.h"
#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "search/PageIndex.h"
#include "search/PreparedHistory.h"
#include "search/Ranking.h"
#include "search/SearchEngine.h"
#include "search/SiteSearch.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace kivaro {

// Turns the typed text into ranked rows. Built from the store's current picture for one
// pass on the main thread; ranking changes nothing.
class Ranker {
public:
    explicit Ranker(SearchEngine engine) : engine(engine) {}

    Prepared<SafariTab> tabs; // open tabs, then tab-group tabs
    PreparedHistory history;
    QSet<QString> hidden;           // bare addresses the user removed from history
    QList<Command> commands;        // the browser's menu commands
    Prepared<ArchivedTab> archived; // in archive order
    bool devAvailable = false;
    QDateTime now = QDateTime::currentDateTimeUtc();
    qsizetype limit = 10; // rows the sections share
    ResultLayout layout = ResultLayout::grouped;
    QList<ResultSection> order = ResultSection::allCases();
    SearchEngine engine; // where searches go

    Ranking rank(const QString& query, const QStringList& suggestions = {}) const;
    Ranking rankDev(const QString& query, const QList<Command>& tools) const;
    // Site mode: the typed text and the suggestions as searches of `site`, and the site's
    // pages from history.
    Ranking rankSite(const QString& query, const QStringList& suggestions,
                     const SiteSearch& site) const;

    // The action label of a row that opens a page.
    static inline const QString openLabel = QStringLiteral("Open");

    // A page title without an unread-count prefix such as "(3) ".
    static QString cleanTitle(const QString& title);
    // A page title without its count prefix and without the site's name at its end.
    static QString siteTitle(const QString& title, const SiteSearch& site);

    // The few menu commands a query long enough names, scored higher when the title begins
    // with `q` (see RankingWeights).
    QList<ScoredRow> commandRows(const QString& q, const QStringList& words) const;

    // The match score of a title and address (host points plus title points), or nothing when
    // some word is missing.
    static std::optional<double> match(const QString& q, const QStringList& words,
                                       const QString& title, const QString& url);

    // Sorts by score, high first; equal scores keep their order.
    template <typename Scored>
    static void best(QList<Scored>& scored) {
        std::stable_sort(scored.begin(), scored.end(),
                         [](const Scored& a, const Scored& b) { return a.score > b.score; });
    }

    static Row tabRow(const SafariTab& tab);

    // Drops rows whose action is already in `seen` and records the others' actions.
    static QList<ScoredRow> fresh(const QList<ScoredRow>& scored, QList<Action>& seen);
};

} // namespace kivaro
