#include "search/Ranker.h"

#include "base/Text.h"
#include "base/Web.h"
#include "search/RankingWeights.h"

#include <QUrl>

#include <bit>
#include <bitset>
#include <cmath>

namespace kivaro {

namespace {

const QString switchToTab = QStringLiteral("Switch to Tab");

// The typed text in the forms every step reads.
struct Query {
    QString trimmed;          // spaces and tabs around removed, case kept
    QString q;                // lower-cased
    QStringList words;        // q split at spaces
    QString first;            // the first word
    quint64 characters = 0;   // characterMask of every word
    PairMask pairs;           // the pairs of adjacent characters inside every word
    quint64 initial = 0;      // characterBit of the first word's first character
    bool maskDecides = false; // every word is one letter or digit with a bit of its own
    // The words in UTF-8, to search UTF-8 haystacks with; absent when a word is not valid text.
    std::optional<std::vector<std::string>> utf8Words;

    void deriveSearchForms() {
        const QString letters = words.join(QString());
        characters = characterMask(letters);
        pairs = {};
        for (const QString& word : words)
            pairs.add(word);
        initial = first.isEmpty() ? ~quint64(0) : characterBit(first.front());
        maskDecides = std::all_of(words.begin(), words.end(), [](const QString& word) {
            return word.size() == 1 &&
                   ((word[0] >= u'a' && word[0] <= u'z') || (word[0] >= u'0' && word[0] <= u'9'));
        });
        utf8Words.reset();
        if (!QStringView(letters).isValidUtf16())
            return;
        utf8Words.emplace();
        for (const QString& word : words)
            utf8Words->push_back(word.toStdString());
    }

    static Query of(const QString& text) {
        Query query;
        query.trimmed = Text::trimSpacesAndTabs(text).toString();
        query.q = query.trimmed.toLower();
        query.words = Text::spaceSeparatedWords(query.q);
        query.first = query.words.value(0);
        query.deriveSearchForms();
        return query;
    }
};

// The initials masks rule out most labels and words before any comparison.
// Whether a text that starts with `start` begins with the query; a one-unit query is decided
// by that first unit alone.
template <typename TextOf>
bool beginsWithQuery(const Query& query, char16_t start, TextOf text) {
    if (query.q.size() == 1)
        return start == query.q.front().unicode();
    return Text::startsWith(text(), query.q);
}

double hostPoints(const Query& query, const PageView& key) {
    if (beginsWithQuery(query, key.hostStart(), [&] { return key.host(); }))
        return RankingWeights::hostBegins;
    if (!(key.labelInitials() & query.initial))
        return 0;
    return Text::anyPieceStartsWith(key.host(), u'.', query.first) ? RankingWeights::hostLabelBegins
                                                                   : 0;
}

double titlePoints(const Query& query, const PageView& key) {
    if (beginsWithQuery(query, key.titleStart(), [&] { return key.title(); }))
        return RankingWeights::titleBegins;
    if (!(key.wordInitials() & query.initial))
        return 0;
    return Text::anyWordStartsWith(key.title(), key.titleWords(), query.first)
               ? RankingWeights::titleWordBegins
               : 0;
}

bool containsEveryWord(const Query& query, const PageView& key) {
    if ((key.characters() & query.characters) != query.characters)
        return false;
    if (query.maskDecides)
        return true;
    if (!key.pairs().holds(query.pairs))
        return false;
    if (query.utf8Words && key.utf8()) {
        return std::all_of(
            query.utf8Words->begin(), query.utf8Words->end(),
            [&](const std::string& word) { return Text::containsBytes(*key.utf8(), word); });
    }
    return std::all_of(query.words.begin(), query.words.end(),
                       [&](const QString& word) { return Text::contains(key.haystack(), word); });
}

std::optional<double> matchKey(const Query& query, const PageView& key) {
    if (!containsEveryWord(query, key))
        return std::nullopt;
    return hostPoints(query, key) + titlePoints(query, key);
}

// What the top hit compares with the query: the bare address when the query has a "/",
// otherwise the host.
QStringView topHitKey(const Query& query, const PageView& key) {
    return query.q.contains(u'/') ? key.bare() : key.host();
}

Row tabRow(const SafariTab& tab, const QString& host) {
    QStringList detail;
    for (const QString& part : {host, tab.group}) {
        if (!part.isEmpty())
            detail.append(part);
    }
    return Row{.kind = Row::Kind::tab,
               .host = host,
               .url = tab.url,
               .title = tab.title.isEmpty() ? host : tab.title,
               .detail = detail.join(QStringLiteral(" \u00b7 ")),
               .label = switchToTab,
               .action = tab.windowID < 0 ? Action::revealTab(tab.url)
                                          : Action::switchTab(tab.windowID, tab.index)};
}

Row commandRow(const Command& command) {
    return Row{.kind = Row::Kind::command,
               .symbol = command.symbol,
               .keys = command.keys,
               .title = command.title,
               .detail = command.menu,
               .label = QStringLiteral("Run"),
               .action = command.action};
}

Row developerToolsRow() {
    return Row{.kind = Row::Kind::mode,
               .symbol = QStringLiteral("chevron.left.forwardslash.chevron.right"),
               .keys = {QStringLiteral("Tab")},
               .title = QStringLiteral("Developer Tools"),
               .detail = QStringLiteral("Inspector, console, user agent and more"),
               .action = Action::devMode()};
}

QString searchableText(const Command& command) {
    return command.title.toLower() + u' ' + command.keywords;
}

// How a command's searchable text meets the query: nothing when some word is missing.
struct CommandMatch {
    bool titleBegins; // the title begins with the whole query
    bool wordBegins;  // some word of the searchable text begins with the first query word
};

std::optional<CommandMatch> commandMatch(const Command& command, const Query& query) {
    const QString text = searchableText(command);
    for (const QString& word : query.words) {
        if (!text.contains(word))
            return std::nullopt;
    }
    return CommandMatch{.titleBegins = command.title.toLower().startsWith(query.q),
                        .wordBegins = Text::anyWordStartsWith(text, query.first)};
}

// A developer tool's place in the list; every tool that holds the query's words is listed.
double toolScore(const CommandMatch& match, bool core) {
    if (match.titleBegins)
        return RankingWeights::toolTitleBegins;
    if (!match.wordBegins)
        return RankingWeights::toolContains;
    return core ? RankingWeights::coreToolWordBegins : RankingWeights::toolWordBegins;
}

template <typename T>
QList<T> firstOf(const QList<T>& list, qsizetype count) {
    return list.first(std::clamp<qsizetype>(count, 0, list.size()));
}

// An entry of a source list with its score: a page, a command or a developer tool.
struct Candidate {
    qsizetype index; // position in the source list
    double score;
};

// Sorted order of the history list: score high first, then the earlier entry.
bool precedes(const Candidate& a, const Candidate& b) {
    return a.score > b.score || (a.score == b.score && a.index < b.index);
}

// The list of the entries holding every run of three characters of the words is read whole
// while it is at most this fraction of history; a longer one only tells which entries to skip.
constexpr qsizetype fewCandidates = 64;

// A flag for each of `count` entries, set for those in `entries`.
std::vector<bool> marked(std::span<const quint32> entries, qsizetype count) {
    std::vector<bool> flags(static_cast<size_t>(count));
    for (quint32 i : entries)
        flags[i] = true;
    return flags;
}

// The best few pages of the matching history entries, taken as entries arrive in any order:
// of the entries of one page only the one that sorts first counts. Once it is full, the last
// kept score only rises.
class LeadingPages {
public:
    explicit LeadingPages(size_t capacity) : capacity_(capacity) {}

    void offer(const Candidate& candidate, qsizetype page);
    // Whether an entry scoring at most `bound` could still be kept. An equal score is enough:
    // the entry may come earlier in the list than the last kept one, and then sorts before it.
    bool admits(double bound) const {
        return kept_.size() < capacity_ || !(bound < kept_.back().candidate.score);
    }
    QList<Candidate> sorted() const;

private:
    struct Kept {
        Candidate candidate;
        qsizetype page;
    };
    std::vector<Kept> kept_; // in sorted order
    size_t capacity_;
};

void LeadingPages::offer(const Candidate& candidate, qsizetype page) {
    const auto samePage = std::find_if(kept_.begin(), kept_.end(),
                                       [&](const Kept& kept) { return kept.page == page; });
    if (samePage != kept_.end()) {
        if (!precedes(candidate, samePage->candidate))
            return;
        kept_.erase(samePage);
    } else if (kept_.size() == capacity_) {
        if (!precedes(candidate, kept_.back().candidate))
            return;
        kept_.pop_back();
    }
    const auto place = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& kept) {
        return precedes(candidate, kept.candidate);
    });
    kept_.insert(place, Kept{candidate, page});
}

QList<Candidate> LeadingPages::sorted() const {
    QList<Candidate> candidates;
    for (const Kept& kept : kept_)
        candidates.append(kept.candidate);
    return candidates;
}

// The most host and title points a query can earn where it reaches so far (PageView::Reach).
struct ReachPoints {
    PageView::Reach host;
    PageView::Reach title;
    double points;
};

double pointsUpTo(PageView::Reach reach, double whole, double piece) {
    switch (reach) {
    case PageView::Reach::whole:
        return whole;
    case PageView::Reach::piece:
        return piece;
    case PageView::Reach::none:
        break;
    }
    return 0;
}

// Every reach but none at all with its points, most first; beginning a host earns
// `hostWholePoints`.
std::vector<ReachPoints> reachesByPoints(double hostWholePoints) {
    using Reach = PageView::Reach;
    std::vector<ReachPoints> all;
    for (Reach host : {Reach::none, Reach::piece, Reach::whole}) {
        for (Reach title : {Reach::none, Reach::piece, Reach::whole}) {
            if (host == Reach::none && title == Reach::none)
                continue;
            all.push_back({host, title,
                           pointsUpTo(host, hostWholePoints, RankingWeights::hostLabelBegins) +
                               pointsUpTo(title, RankingWeights::titleBegins,
                                          RankingWeights::titleWordBegins)});
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const ReachPoints& a, const ReachPoints& b) {
        return a.points > b.points;
    });
    return all;
}

// Bounds add the same terms as scores in another order; this covers the rounding difference.
constexpr double roundingSlack = 1e-9;

// One ranking pass over the ranker's lists. Each source is scanned once; of the history list,
// the largest, only the entries that can still lead are read, and only those are ordered.
class Pass {
public:
    Pass(const Ranker& ranker, const QString& query)
        : ranker_(ranker), query_(Query::of(query)), nowSeconds_(epochSeconds(ranker.now)) {}

    Ranking run(const QStringList& suggestions);

private:
    PageView tabKey(qsizetype i) const { return ranker_.tabs.pages().at(i); }
    PageView historyKey(qsizetype i) const { return ranker_.history.pages().at(i); }
    const HistoryFacts& historyFacts(qsizetype i) const {
        return ranker_.history.facts()[size_t(i)];
    }
    const HistoryEntry& entry(qsizetype i) const { return ranker_.history.items()[i]; }

    Ranking emptyQuery() const;
    QList<Candidate> tabCandidates() const;
    std::optional<Candidate> historyCandidate(qsizetype entry) const;
    QList<Candidate> leadingHistory() const;
    template <typename Offer>
    void scanByFixedPoints(const LeadingPages& leading, Offer offer) const;
    std::optional<Candidate> historyTopHit() const;
    std::optional<Candidate> bestOfPage(qsizetype pageID) const;
    bool isOpenOrHidden(qsizetype entry) const;
    bool isOpen(QStringView bare, size_t hash) const;
    void findTopHit(const QList<Candidate>& tabs);
    std::optional<Row> historyTopRow(QString& completion) const;
    QList<ScoredRow> tabSection(const QList<Candidate>& tabs);
    QList<ScoredRow> historySection(const QList<Candidate>& leading);
    QList<ScoredRow> archivedRows() const;
    QList<ScoredRow> searchSection(const QStringList& suggestions);
    QList<ScoredRow> commandSection();
    QList<Row> laidOut(const QMap<ResultSection::Value, QList<ScoredRow>>& sections,
                       const QList<ScoredRow>& commands) const;

    const Ranker& ranker_;
    const Query query_;
    const double nowSeconds_;
    // The bare addresses of the open tabs with their hashes, sorted by hash; views into the
    // tab index.
    std::vector<std::pair<size_t, QStringView>> openBare_;
    // A bit for each open or hidden address's hash: most entries are ruled out by one test.
    std::bitset<4096> openOrHiddenHashes_;
    QList<Row> topRows_;
    std::optional<QString> completion_;
    QList<Action> seen_;
};

Ranking Pass::emptyQuery() const {
    Ranking ranking;
    const qsizetype count = std::clamp<qsizetype>(ranker_.limit, 0, ranker_.tabs.size());
    for (qsizetype i = 0; i < count; ++i)
        ranking.rows.append(tabRow(ranker_.tabs.items()[i], tabKey(i).host().toString()));
    return ranking;
}

QList<Candidate> Pass::tabCandidates() const {
    QList<Candidate> candidates;
    for (qsizetype i = 0; i < ranker_.tabs.size(); ++i) {
        if (auto score = matchKey(query_, tabKey(i)))
            candidates.append({i, *score - double(ranker_.tabs.items()[i].windowOrder)});
    }
    Ranker::best(candidates);
    return candidates;
}

bool Pass::isOpenOrHidden(qsizetype entry) const {
    if (!openOrHiddenHashes_.test(historyFacts(entry).bareHash % openOrHiddenHashes_.size()))
        return false;
    const QStringView bare = historyKey(entry).bare();
    return isOpen(bare, historyFacts(entry).bareHash) || ranker_.hidden.contains(bare.toString());
}

bool Pass::isOpen(QStringView bare, size_t hash) const {
    auto [first, last] =
        std::equal_range(openBare_.begin(), openBare_.end(), std::pair(hash, bare),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    return std::any_of(first, last, [&](const auto& open) { return open.second == bare; });
}

// A matching history entry that is neither open nor hidden, with its score.
std::optional<Candidate> Pass::historyCandidate(qsizetype i) const {
    const auto match = matchKey(query_, historyKey(i));
    if (!match || isOpenOrHidden(i))
        return std::nullopt;
    const HistoryFacts& facts = historyFacts(i);
    return Candidate{i, *match + recencyPoints(facts.lastVisitSeconds, nowSeconds_) +
                            facts.visitPoints};
}

// The best of the candidates' pages (of the entries of one page only the one that sorts first
// counts), one more than the rows shown. Entries are read by their fixed points, skipping those
// that lack a run of three characters of the words; a short enough list of the entries that
// have them all is read whole instead, as is everything when the clock is behind the latest
// visit and fixed points no longer bound recency.
QList<Candidate> Pass::leadingHistory() const {
    LeadingPages leading(RankingWeights::historyRows + 1);
    const auto offer = [&](qsizetype i) {
        if (const auto candidate = historyCandidate(i))
            leading.offer(*candidate, historyFacts(i).pageID);
    };
    const qsizetype count = ranker_.history.size();
    const bool bounded = nowSeconds_ >= ranker_.history.order().referenceSeconds();
    const auto candidates = ranker_.history.pages().candidates(query_.words);
    if (candidates && (!bounded || qsizetype(candidates->size()) * fewCandidates <= count)) {
        for (quint32 i : *candidates)
            offer(i);
    } else if (bounded) {
        const std::vector<bool> held =
            candidates ? marked(*candidates, count) : std::vector<bool>();
        scanByFixedPoints(leading, [&](qsizetype i) {
            if (held.empty() || held[size_t(i)])
                offer(i);
        });
    } else {
        for (qsizetype i = 0; i < count; ++i)
            offer(i);
    }
    return leading.sorted();
}

// Reads first the entries whose host or title the query may reach, most points first, then the
// others; each group by fixed points, and only while one of its entries could still be kept.
template <typename Offer>
void Pass::scanByFixedPoints(const LeadingPages& leading, Offer offer) const {
    const HistoryOrder& order = ranker_.history.order();
    const std::vector<HistoryOrder::Ranked>& ranked = order.byFixedPoints();
    const int bit = std::countr_zero(query_.initial);
    // A longer query whose first character begins a host may still begin none of them.
    const bool someHostBegins = query_.q.size() == 1 || !order.hostsStartingWith(query_.q).empty();
    const double hostWholePoints =
        someHostBegins ? RankingWeights::hostBegins : RankingWeights::hostLabelBegins;
    for (const ReachPoints& reach : reachesByPoints(hostWholePoints)) {
        for (quint32 position : order.reaching(bit, reach.host, reach.title)) {
            if (!leading.admits(reach.points + ranked[position].fixedPoints + roundingSlack))
                break;
            offer(ranked[position].entry);
        }
    }
    for (const HistoryOrder::Ranked& entry : ranked) {
        if (!leading.admits(entry.fixedPoints + roundingSlack))
            break;
        if (!(entry.initials & query_.initial) &&
            (entry.characters & query_.characters) == query_.characters)
            offer(entry.entry);
    }
}

// The entry the top row opens: of the entries whose key begins with the query, the one that
// sorts first among those that are also the first of their page.
std::optional<Candidate> Pass::historyTopHit() const {
    const HistoryOrder& order = ranker_.history.order();
    const auto keyed = query_.q.contains(u'/') ? order.bareMayStartWith(query_.q)
                                               : order.hostsStartingWith(query_.q);
    std::vector<Candidate> hits;
    for (quint32 i : keyed) {
        if (!topHitKey(query_, historyKey(i)).startsWith(query_.q))
            continue;
        if (const auto candidate = historyCandidate(i))
            hits.push_back(*candidate);
    }
    while (!hits.empty()) {
        const auto best = std::min_element(hits.begin(), hits.end(), precedes);
        if (bestOfPage(historyFacts(best->index).pageID)->index == best->index)
            return *best;
        hits.erase(best);
    }
    return std::nullopt;
}

std::optional<Candidate> Pass::bestOfPage(qsizetype pageID) const {
    std::optional<Candidate> best;
    for (quint32 i : ranker_.history.order().pageEntries(pageID)) {
        const auto candidate = historyCandidate(i);
        if (candidate && (!best || precedes(*candidate, *best)))
            best = candidate;
    }
    return best;
}

std::optional<Row> Pass::historyTopRow(QString& completion) const {
    const auto top = historyTopHit();
    if (!top)
        return std::nullopt;
    const HistoryEntry& hit = entry(top->index);
    const PageView key = historyKey(top->index);
    const QString topKey = topHitKey(query_, key).toString();
    QString scheme = QUrl(hit.url).scheme();
    if (scheme.isEmpty())
        scheme = QStringLiteral("https");
    completion = topKey;
    return Row{.kind = Row::Kind::open,
               .host = key.host().toString(),
               .url = hit.url,
               .title = hit.title.isEmpty() ? topKey : hit.title,
               .detail = hit.title.isEmpty() ? QString() : topKey,
               .label = Ranker::openLabel,
               .action = Action::open(scheme + QStringLiteral("://") + topKey)};
}

void Pass::findTopHit(const QList<Candidate>& tabs) {
    if (query_.q.contains(u' '))
        return;
    for (const Candidate& candidate : tabs) {
        const QStringView key = topHitKey(query_, tabKey(candidate.index));
        if (key.startsWith(query_.q)) {
            topRows_ = {tabRow(ranker_.tabs.items()[candidate.index],
                               tabKey(candidate.index).host().toString())};
            completion_ = key.toString();
            return;
        }
    }
    QString completion;
    if (auto row = historyTopRow(completion)) {
        topRows_ = {*row};
        completion_ = completion;
        return;
    }
    if (Web::looksLikeURL(query_.trimmed)) {
        const QString address = Web::normalize(query_.trimmed);
        topRows_ = {Row{.kind = Row::Kind::open,
                        .host = Web::host(address),
                        .title = query_.trimmed,
                        .label = Ranker::openLabel,
                        .action = Action::open(address)}};
    }
}

QList<ScoredRow> Pass::tabSection(const QList<Candidate>& tabs) {
    QList<ScoredRow> rows;
    for (const Candidate& candidate : firstOf(tabs, RankingWeights::tabRows)) {
        const SafariTab& tab = ranker_.tabs.items()[candidate.index];
        rows.append({tabRow(tab, tabKey(candidate.index).host().toString()),
                     candidate.score + RankingWeights::openTabBonus});
    }
    return Ranker::fresh(rows, seen_);
}

QList<ScoredRow> Pass::archivedRows() const {
    QList<ScoredRow> rows;
    const auto& items = ranker_.archived.items();
    for (qsizetype i = 0; i < items.size() && rows.size() < RankingWeights::archivedRows; ++i) {
        const PageView key = ranker_.archived.pages().at(i);
        if (isOpen(key.bare(), qHash(key.bare())))
            continue;
        const auto score = matchKey(query_, key);
        if (!score)
            continue;
        const ArchivedTab& tab = items[i];
        rows.append({Row{.kind = Row::Kind::archived,
                         .host = key.host().toString(),
                         .url = tab.url,
                         .title = tab.title.isEmpty() ? key.host().toString() : tab.title,
                         .detail = key.host().toString() + QStringLiteral(" \u00b7 Archived"),
                         .label = Ranker::openLabel,
                         .action = Action::open(tab.url)},
                     *score + RankingWeights::archivedTabBonus});
    }
    return rows;
}

// At most one leading page shares the top row's address (entries of one address are one page),
// so one page more than the rows shown always holds them.
QList<ScoredRow> Pass::historySection(const QList<Candidate>& leading) {
    QList<ScoredRow> rows = archivedRows();
    qsizetype taken = 0;
    for (const Candidate& candidate : leading) {
        const HistoryEntry& item = entry(candidate.index);
        const bool isTopRow = std::any_of(topRows_.begin(), topRows_.end(),
                                          [&](const Row& top) { return top.url == item.url; });
        if (isTopRow || taken == RankingWeights::historyRows)
            continue;
        const PageView key = historyKey(candidate.index);
        const QString bare = key.bare().toString();
        rows.append({Row{.kind = Row::Kind::history,
                         .host = key.host().toString(),
                         .url = item.url,
                         .title = item.title.isEmpty() ? bare : item.title,
                         .detail = bare,
                         .label = Ranker::openLabel,
                         .action = Action::open(item.url)},
                     candidate.score});
        ++taken;
    }
    return Ranker::fresh(rows, seen_);
}

QList<ScoredRow> Pass::searchSection(const QStringList& suggestions) {
    QStringList terms{query_.trimmed};
    for (const QString& suggestion : suggestions) {
        if (terms.size() == RankingWeights::searchRows)
            break;
        if (suggestion.toLower() != query_.q)
            terms.append(suggestion);
    }
    QList<ScoredRow> rows;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        rows.append({Row{.kind = Row::Kind::search,
                         .title = terms[i],
                         .label = QStringLiteral("Search"),
                         .action = Action::open(ranker_.engine.searchURL(terms[i]))},
                     RankingWeights::firstSearch - RankingWeights::searchStep * double(i)});
    }
    return Ranker::fresh(rows, seen_);
}

QList<ScoredRow> Pass::commandSection() {
    QList<ScoredRow> rows;
    if (!completion_ && !Web::looksLikeURL(query_.trimmed))
        rows = ranker_.commandRows(query_.q, query_.words);
    if (query_.q == u"dev" && ranker_.devAvailable)
        rows.prepend({developerToolsRow(), RankingWeights::developerTools});
    return firstOf(Ranker::fresh(rows, seen_), RankingWeights::commandRows);
}

QList<Row> Pass::laidOut(const QMap<ResultSection::Value, QList<ScoredRow>>& sections,
                         const QList<ScoredRow>& commands) const {
    qsizetype remaining = ranker_.limit - topRows_.size() - commands.size();
    QList<Row> rows = topRows_;
    if (ranker_.layout == ResultLayout::ranked) {
        QList<ScoredRow> pool;
        for (ResultSection section : ranker_.order) {
            if (section != ResultSection::commands)
                pool.append(sections.value(section));
        }
        Ranker::best(pool);
        pool = firstOf(pool, remaining);
        pool.append(commands);
        Ranker::best(pool);
        for (const ScoredRow& scored : pool)
            rows.append(scored.row);
        return rows;
    }
    for (ResultSection section : ranker_.order) {
        if (section == ResultSection::commands) {
            for (const ScoredRow& scored : commands)
                rows.append(scored.row);
            continue;
        }
        const QList<ScoredRow> group = firstOf(sections.value(section), remaining);
        remaining -= group.size();
        for (const ScoredRow& scored : group)
            rows.append(scored.row);
    }
    return rows;
}

Ranking Pass::run(const QStringList& suggestions) {
    if (query_.q.isEmpty())
        return emptyQuery();
    for (qsizetype i = 0; i < ranker_.tabs.size(); ++i) {
        const QStringView bare = tabKey(i).bare();
        openBare_.emplace_back(qHash(bare), bare);
        openOrHiddenHashes_.set(openBare_.back().first % openOrHiddenHashes_.size());
    }
    std::sort(openBare_.begin(), openBare_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const QString& bare : ranker_.hidden)
        openOrHiddenHashes_.set(qHash(QStringView(bare)) % openOrHiddenHashes_.size());

    const QList<Candidate> tabs = tabCandidates();
    findTopHit(tabs);
    for (const Row& row : topRows_)
        seen_.append(row.action);

    QMap<ResultSection::Value, QList<ScoredRow>> sections;
    sections[ResultSection::tabs] = tabSection(tabs);
    sections[ResultSection::history] = historySection(leadingHistory());
    sections[ResultSection::search] = searchSection(suggestions);
    const QList<ScoredRow> commands = commandSection();
    return Ranking{laidOut(sections, commands), completion_};
}

} // namespace

Ranking Ranker::rank(const QString& query, const QStringList& suggestions) const {
    return Pass(*this, query).run(suggestions);
}

QList<ScoredRow> Ranker::commandRows(const QString& q, const QStringList& words) const {
    if (q.size() < RankingWeights::commandQueryLength)
        return {};
    const Query query{.trimmed = q, .q = q, .words = words, .first = words.value(0)};
    QList<Candidate> kept;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        const auto match = commandMatch(commands[i], query);
        if (!match || !match->wordBegins)
            continue;
        kept.append({i, match->titleBegins ? RankingWeights::commandTitleBegins
                                           : RankingWeights::commandWordBegins});
    }
    best(kept);
    QList<ScoredRow> rows;
    for (const Candidate& command : firstOf(kept, RankingWeights::commandRows))
        rows.append({commandRow(commands[command.index]), command.score});
    return rows;
}

Ranking Ranker::rankDev(const QString& query, const QList<Command>& tools) const {
    const Query typed = Query::of(query);
    Ranking ranking;
    if (typed.q.isEmpty()) {
        for (const Command& tool : tools) {
            if (ranking.rows.size() >= limit)
                break;
            if (tool.core)
                ranking.rows.append(commandRow(tool));
        }
        return ranking;
    }
    QList<Candidate> kept;
    for (qsizetype i = 0; i < tools.size(); ++i) {
        if (const auto match = commandMatch(tools[i], typed))
            kept.append({i, toolScore(*match, tools[i].core)});
    }
    best(kept);
    if (!kept.isEmpty()) {
        const QString& title = tools[kept.first().index].title;
        if (title.toLower().startsWith(typed.q))
            ranking.completion = title;
    }
    for (const Candidate& tool : firstOf(kept, limit))
        ranking.rows.append(commandRow(tools[tool.index]));
    return ranking;
}

std::optional<double> Ranker::match(const QString& q, const QStringList& words,
                                    const QString& title, const QString& url) {
    Query query{.trimmed = q, .q = q, .words = words, .first = words.value(0)};
    query.deriveSearchForms();
    PageIndex page;
    page.append(title, url);
    return matchKey(query, page.at(0));
}

Row Ranker::tabRow(const SafariTab& tab) {
    return kivaro::tabRow(tab, Web::host(tab.url));
}

QList<ScoredRow> Ranker::fresh(const QList<ScoredRow>& scored, QList<Action>& seen) {
    QList<ScoredRow> kept;
    for (const ScoredRow& pair : scored) {
        if (seen.contains(pair.row.action))
            continue;
        seen.append(pair.row.action);
        kept.append(pair);
    }
    return kept;
}

} // namespace kivaro
