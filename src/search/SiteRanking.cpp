// Ranking in site mode: searches of one site and that site's pages from history.
#include "base/Text.h"
#include "base/Web.h"
#include "search/Ranker.h"
#include "search/RankingWeights.h"

#include <cmath>
#include <limits>

namespace kivaro {

namespace {

// The title without a count in parentheses at its start, as a view into it.
QStringView cleanTitleView(QStringView title) {
    const qsizetype close = title.indexOf(u')');
    if (!title.startsWith(u'(') || close < 0)
        return title;
    const auto count = title.sliced(1, close - 1).toUcs4();
    if (!std::all_of(count.begin(), count.end(), [](char32_t c) { return QChar::isNumber(c); }))
        return title;
    return title.sliced(close + 1).trimmed();
}

// The title without its count and without " - " (or " | ", " – ", " · ") and the site's name
// at its end; a view, as it is asked of every page of the site.
QStringView siteTitleView(QStringView title, QStringView name) {
    QStringView t = cleanTitleView(title);
    for (QStringView separator : {u" - ", u" | ", u" \u2013 ", u" \u00b7 "}) {
        if (t.endsWith(name) && t.chopped(name.size()).endsWith(separator))
            t.chop(name.size() + separator.size());
    }
    return t.trimmed();
}

// Which hosts count as the site's: the site's own, its subdomains, and hosts with its first
// label (its regional variants).
struct SiteHosts {
    explicit SiteHosts(const SiteSearch& site)
        : host(site.host), under(u'.' + site.host),
          label(SiteSearch::firstLabel(site.host).toString()) {}

    bool holds(QStringView candidate) const {
        return candidate == host || candidate.endsWith(under) ||
               SiteSearch::firstLabel(candidate) == label;
    }

    QString host;
    QString under; // "." + host
    QString label;
};

bool holdsEveryWord(QStringView title, const QStringList& words) {
    return std::all_of(words.begin(), words.end(),
                       [&](const QString& word) { return Text::contains(title, word); });
}

bool isHidden(const Ranker& ranker, QStringView bare) {
    return !ranker.hidden.isEmpty() && ranker.hidden.contains(bare.toString());
}

// Whether history entry `i` is a page of the site worth offering for the typed words.
bool isSitePage(const Ranker& ranker, qsizetype i, const QStringList& words, const SiteHosts& hosts,
                const SiteSearch& site) {
    const PageView key = ranker.history.pages().at(i);
    const QStringView bare = key.bare();
    const QStringView path = bare.sliced(std::min(key.host().size(), bare.size()));
    return hosts.holds(key.host()) && path.size() >= 2 && !path.contains(u"redirect") &&
           holdsEveryWord(key.title(), words) && !isHidden(ranker, bare) &&
           !siteTitleView(ranker.history.items()[i].title, site.name).isEmpty();
}

struct SitePage {
    qsizetype index; // in the ranker's history
    double order;    // higher first
};

// Without a query the most recent pages come first, otherwise the often and lately visited.
double pageOrder(const Ranker& ranker, qsizetype i, bool byRecency) {
    const HistoryFacts& facts = ranker.history.facts()[size_t(i)];
    if (!byRecency)
        return facts.visitPoints + recencyPoints(facts.lastVisitSeconds, epochSeconds(ranker.now));
    return std::isnan(facts.lastVisitSeconds) ? -std::numeric_limits<double>::infinity()
                                              : facts.lastVisitSeconds;
}

Row pageRow(const Ranker& ranker, qsizetype i, const SiteSearch& site) {
    const HistoryEntry& entry = ranker.history.items()[i];
    const PageView key = ranker.history.pages().at(i);
    return Row{.kind = Row::Kind::history,
               .host = key.host().toString(),
               .url = entry.url,
               .title = Ranker::siteTitle(entry.title, site),
               .detail = key.bare().toString(),
               .label = Ranker::openLabel,
               .action = Action::open(entry.url)};
}

QList<Row> pageRows(const Ranker& ranker, const QString& q, const SiteSearch& site) {
    const QStringList words = Text::spaceSeparatedWords(q);
    const SiteHosts hosts(site);
    QList<SitePage> pages;
    for (qsizetype i = 0; i < ranker.history.size(); ++i) {
        if (isSitePage(ranker, i, words, hosts, site))
            pages.append({i, pageOrder(ranker, i, q.isEmpty())});
    }
    std::stable_sort(pages.begin(), pages.end(),
                     [](const SitePage& a, const SitePage& b) { return a.order > b.order; });
    const qsizetype shown =
        q.isEmpty() ? RankingWeights::sitePagesBeforeTyping : RankingWeights::sitePages;
    QList<Row> rows;
    for (const SitePage& page : pages.first(std::min(pages.size(), shown)))
        rows.append(pageRow(ranker, page.index, site));
    return rows;
}

Row openSiteRow(const SiteSearch& site) {
    return Row{.kind = Row::Kind::open,
               .host = site.host,
               .title = QStringLiteral("Open ") + site.name,
               .detail = site.host,
               .label = Ranker::openLabel,
               .action = Action::open(QStringLiteral("https://") + site.host)};
}

// The search terms: the typed text and the suggestions, each once whatever its case.
QStringList searchTerms(const QString& trimmed, const QStringList& suggestions) {
    QStringList terms;
    QSet<QString> seen;
    for (const QString& term : QStringList{trimmed} + suggestions) {
        if (seen.contains(term.toLower()))
            continue;
        seen.insert(term.toLower());
        terms.append(term);
    }
    return terms;
}

Row searchRow(const QString& term, const SiteSearch& site) {
    return Row{.kind = Row::Kind::search,
               .host = site.host,
               .title = term,
               .label = QStringLiteral("Search"),
               .action = Action::open(site.searchURL(term))};
}

} // namespace

QString Ranker::cleanTitle(const QString& title) {
    return cleanTitleView(title).toString();
}

QString Ranker::siteTitle(const QString& title, const SiteSearch& site) {
    return siteTitleView(title, site.name).toString();
}

Ranking Ranker::rankSite(const QString& query, const QStringList& suggestions,
                         const SiteSearch& site) const {
    const QString trimmed = Text::trimSpacesAndTabs(query).toString();
    const QList<Row> pages = pageRows(*this, trimmed.toLower(), site);
    Ranking ranking;
    if (trimmed.isEmpty()) {
        ranking.rows.append(openSiteRow(site));
    } else {
        const QStringList terms = searchTerms(trimmed, suggestions);
        const qsizetype room = std::clamp<qsizetype>(limit - pages.size(), 0, terms.size());
        for (const QString& term : terms.first(room))
            ranking.rows.append(searchRow(term, site));
    }
    ranking.rows.append(pages);
    return ranking;
}

} // namespace kivaro
