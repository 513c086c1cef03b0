// How long one keystroke's ranking takes over a realistic browser picture.
//   build/release/bench/kivaro_ranker_bench
#include "search/Ranker.h"

#include <QRandomGenerator>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <vector>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

const QDateTime benchNow = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);

const QStringList sites{
    u"github.com"_s,
    u"www.google.com"_s,
    u"mail.google.com"_s,
    u"docs.google.com"_s,
    u"www.youtube.com"_s,
    u"en.wikipedia.org"_s,
    u"stackoverflow.com"_s,
    u"news.ycombinator.com"_s,
    u"www.reddit.com"_s,
    u"www.amazon.com"_s,
    u"www.bbc.co.uk"_s,
    u"www.nytimes.com"_s,
    u"developer.apple.com"_s,
    u"doc.qt.io"_s,
    u"doc.rust-lang.org"_s,
    u"www.figma.com"_s,
    u"app.slack.com"_s,
    u"www.notion.so"_s,
    u"twitter.com"_s,
    u"www.linkedin.com"_s,
    u"medium.com"_s,
    u"gitlab.com"_s,
    u"www.theguardian.com"_s,
    u"maps.google.com"_s,
    u"calendar.google.com"_s,
    u"www.imdb.com"_s,
    u"www.spotify.com"_s,
    u"www.netflix.com"_s,
    u"cppreference.com"_s,
    u"www.kernel.org"_s,
    u"lwn.net"_s,
    u"arxiv.org"_s,
};

const QStringList words{
    u"release"_s, u"notes"_s,     u"pull"_s,     u"request"_s,   u"issue"_s,   u"design"_s,
    u"review"_s,  u"weather"_s,   u"lisbon"_s,   u"recipe"_s,    u"pasta"_s,   u"budget"_s,
    u"report"_s,  u"quarterly"_s, u"kernel"_s,   u"scheduler"_s, u"memory"_s,  u"allocator"_s,
    u"string"_s,  u"class"_s,     u"tutorial"_s, u"video"_s,     u"music"_s,   u"playlist"_s,
    u"news"_s,    u"election"_s,  u"football"_s, u"travel"_s,    u"hotel"_s,   u"flight"_s,
    u"Zürich"_s,  u"café"_s,      u"東京"_s,     u"settings"_s,  u"profile"_s,
};

QString pick(QRandomGenerator& random, const QStringList& list) {
    return list[random.bounded(qsizetype(list.size()))];
}

QString title(QRandomGenerator& random) {
    QStringList parts;
    for (int i = random.bounded(2, 7); i > 0; --i)
        parts.append(pick(random, words));
    parts[0][0] = parts[0][0].toUpper();
    return parts.join(u' ') + u" - "_s + pick(random, sites).section(u'.', -2, -2);
}

QString address(QRandomGenerator& random) {
    QString path;
    for (int i = random.bounded(0, 4); i > 0; --i)
        path += u'/' + pick(random, words).toLower();
    if (random.bounded(4) == 0)
        path += u"?id="_s + QString::number(random.bounded(100000));
    if (random.bounded(10) == 0)
        path += u"&utm_source=newsletter"_s;
    if (random.bounded(12) == 0)
        path += u"#section-"_s + QString::number(random.bounded(9));
    return u"https://"_s + pick(random, sites) + (path.isEmpty() ? u"/"_s : path);
}

struct Picture {
    QList<SafariTab> tabs;
    QList<HistoryEntry> history;
    QList<ArchivedTab> archived;
    QList<Command> commands;
};

Picture picture(qsizetype historySize) {
    QRandomGenerator random(42);
    Picture picture;
    for (int i = 0; i < 300; ++i) {
        const int window = i % 6;
        picture.tabs.append(SafariTab{.windowID = 1000 + window,
                                      .windowOrder = window,
                                      .index = i / 6 + 1,
                                      .title = title(random),
                                      .url = address(random)});
    }
    for (qsizetype i = 0; i < historySize; ++i) {
        const qint64 secondsAgo = random.bounded(0, 90 * 86400);
        picture.history.append(HistoryEntry{.url = address(random),
                                            .title = title(random),
                                            .visits = random.bounded(1, 400),
                                            .lastVisit = benchNow.addSecs(-secondsAgo)});
    }
    for (int i = 0; i < 200; ++i) {
        picture.archived.append(ArchivedTab{
            .title = title(random), .url = address(random), .closedAt = benchNow.addDays(-i)});
    }
    for (int i = 0; i < 60; ++i) {
        const QString name = pick(random, words);
        picture.commands.append(Command{.title = u"Show "_s + name + u' ' + QString::number(i),
                                        .symbol = u"gearshape"_s,
                                        .keywords = pick(random, words).toLower(),
                                        .menu = u"View"_s,
                                        .action = Action::menu({u"View"_s, name})});
    }
    return picture;
}

Ranker rankerFor(const Picture& picture) {
    Ranker ranker(SearchEngine::google);
    ranker.tabs = Prepared<SafariTab>(picture.tabs);
    ranker.history = PreparedHistory(picture.history);
    ranker.archived = Prepared<ArchivedTab>(picture.archived);
    ranker.commands = picture.commands;
    ranker.now = benchNow;
    return ranker;
}

// The ranker over a picture of `historySize` history entries. One picture at a time is kept,
// so that repetitions do not build it again and the process holds no more than one.
struct BuiltRanker {
    qsizetype size = -1;
    std::optional<Ranker> ranker;
};

BuiltRanker& builtRanker() {
    static BuiltRanker built;
    return built;
}

const Ranker& rankerOfSize(qsizetype historySize) {
    BuiltRanker& built = builtRanker();
    if (built.size != historySize) {
        built.ranker.reset();
        built.ranker.emplace(rankerFor(picture(historySize)));
        built.size = historySize;
    }
    return *built.ranker;
}

// Every query for one size before the next size, so that each picture is built once.
void sizesThenQueries(benchmark::internal::Benchmark* benchmark,
                      const std::vector<qsizetype>& sizes, int queryCount) {
    for (qsizetype size : sizes) {
        for (int query = 0; query < queryCount; ++query)
            benchmark->Args({size, query});
    }
}

const QStringList queries{u"g"_s, u"rel"_s, u"github.com"_s, u"lisbon hotel"_s};

// The time below which 95 of 100 keystrokes finish, in microseconds.
double percentile95(std::vector<double> micros) {
    if (micros.empty())
        return 0;
    const auto at = micros.begin() + qsizetype(double(micros.size() - 1) * 0.95);
    std::nth_element(micros.begin(), at, micros.end());
    return *at;
}

// Every keystroke is timed on its own as well, for the slow tail the mean hides.
void rank(benchmark::State& state) {
    const Ranker& ranker = rankerOfSize(state.range(0));
    const QString query = queries[state.range(1)];
    const QStringList suggestions{query + u" today"_s, query + u" near me"_s};
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(ranker.rank(query, suggestions));
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    state.counters["p95_us"] = percentile95(std::move(micros));
    state.SetLabel(query.toStdString());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(rank)
    ->Apply([](auto* benchmark) {
        sizesThenQueries(benchmark, {5000, 25000, 100000}, 4);
    }) -> Unit(benchmark::kMicrosecond) -> Repetitions(5) -> ReportAggregatesOnly(true);

// A person typing "gith" one letter at a time: the four keystrokes each ranked afresh, as the
// panel does, so this is what a whole typed word costs and what reusing one keystroke's
// candidates for the next could still gain.
void typing(benchmark::State& state) {
    const Ranker& ranker = rankerOfSize(state.range(0));
    const QStringList keystrokes{u"g"_s, u"gi"_s, u"git"_s, u"gith"_s};
    for (auto _ : state) {
        for (const QString& typed : keystrokes)
            benchmark::DoNotOptimize(ranker.rank(typed));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(typing)
    ->Arg(25000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Site mode over the same picture: one site's pages, without and with a query.
void rankSite(benchmark::State& state) {
    const Ranker& ranker = rankerOfSize(state.range(0));
    const SiteSearch github = SiteSearch::forHost(u"github.com"_s);
    const QString query = state.range(1) ? u"release"_s : QString();
    for (auto _ : state)
        benchmark::DoNotOptimize(ranker.rankSite(query, {query + u" notes"_s}, github));
    state.SetLabel(query.isEmpty() ? "empty" : query.toStdString());
}
BENCHMARK(rankSite)
    ->Apply([](auto* benchmark) {
        sizesThenQueries(benchmark, {25000, 100000}, 2);
    }) -> Unit(benchmark::kMicrosecond) -> Repetitions(5) -> ReportAggregatesOnly(true);

// Preparing a published history list, done once per publication off the main thread.
void prepareHistory(benchmark::State& state) {
    builtRanker() = {}; // no ranker of the earlier benchmarks held beside this one's lists
    const Picture source = picture(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(PreparedHistory(source.history));
}
BENCHMARK(prepareHistory)->Arg(25000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
