// Browser calls through the DevTools protocol against a real headless Chromium holding 10, 50
// and 200 tabs in one window: listing the tabs, then, with 200 tabs, the current tab and page
// and switching. The browser only gains tabs during a run, so the cases run smallest first.
#include "LiveBrowser.h"
#include "browsers/DevToolsBrowser.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/PosixPrivateFolder.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

using namespace kivaro;

// One browser for the whole run, with as many tabs as the largest case asked for so far.
struct Session {
    QTemporaryDir home;
    testing::LiveProcess chromium;
    std::unique_ptr<PrivateFolder> snapshots = PosixPrivateFolder::forSnapshots();
    std::unique_ptr<DevToolsBrowser> browser;

    bool start() {
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        if (!testing::startChromium(chromium, home.path() + QStringLiteral("/chromium"),
                                    QStringLiteral("about:blank")))
            return false;
        browser = std::make_unique<DevToolsBrowser>(
            QStringLiteral("org.chromium.Chromium"), QStringLiteral("Chromium"),
            QStringList{QStringLiteral("chromium")}, *snapshots);
        return testing::waitUntil([&] { return browser->tabs().size() == 1; });
    }

    bool grow(qsizetype tabs) {
        for (qsizetype count = browser->tabs().size(); count < tabs; ++count)
            browser->open(QStringLiteral("data:text/html,<title>%1</title>").arg(count), true);
        return testing::waitUntil([&] { return browser->tabs().size() >= tabs; }, 60000);
    }
};

Session* session = nullptr;

bool prepare(benchmark::State& state) {
    if (session && session->grow(state.range(0)))
        return true;
    state.SkipWithError("Chromium is not available");
    return false;
}

void BM_Tabs(benchmark::State& state) {
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(session->browser->tabs());
}
BENCHMARK(BM_Tabs)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_CurrentTab(benchmark::State& state) {
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(session->browser->currentTab());
}
BENCHMARK(BM_CurrentTab)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_CurrentPage(benchmark::State& state) {
    if (!prepare(state))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(session->browser->currentPage());
}
BENCHMARK(BM_CurrentPage)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SwitchTo(benchmark::State& state) {
    if (!prepare(state))
        return;
    const SafariTab first = session->browser->tabs().constFirst();
    for (auto _ : state)
        session->browser->switchTo(first.windowID, first.index);
}
BENCHMARK(BM_SwitchTo)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Session shared;
    if (shared.start())
        session = &shared;
    else
        std::fprintf(stderr, "Chromium cannot start: %s\n",
                     qPrintable(shared.chromium.errorString()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    session = nullptr;
    return 0;
}
