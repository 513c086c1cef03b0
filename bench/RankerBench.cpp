// How long one keystroke's ranking takes over a realistic browser picture.
//   build/release/bench/kivaro_ranker_bench
#include "BenchPicture.h"
#include "search/Ranker.h"

#include <QRandomGenerator>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <vector>

using namespace kivaro;
using namespace kivaro::bench;
using namespace Qt::StringLiterals;

namespace {

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
