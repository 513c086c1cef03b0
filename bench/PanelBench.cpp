// How long the panel takes to answer a keystroke and to open, drawn offscreen over 300 tabs
// and 25,000 history entries: the text change, the ranking, the row views laid out and the
// window painted.
//   build/release/bench/kivaro_panel_bench
#include "BenchPicture.h"
#include "browsers/NoBrowser.h"
#include "settings/Preferences.h"
#include "store/QuietDesktop.h"
#include "store/Store.h"
#include "ui/CommandPanel.h"
#include "ui/PanelController.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>

using namespace kivaro;
using namespace kivaro::bench;
using namespace Qt::StringLiterals;

namespace {

// A browser that always shows the picture's tabs and history.
class PictureBrowser : public NoBrowser {
public:
    explicit PictureBrowser(Picture picture)
        : NoBrowser(u"org.example.browser"_s, u"Browser"_s), picture_(std::move(picture)) {}

    QList<SafariTab> tabs() const override { return picture_.tabs; }
    HistoryResult history() const override { return {picture_.history, u"read"_s}; }

private:
    Picture picture_;
};

Store::Adapters adapters(QuietDesktop& desktop, Preferences& preferences, const QString& folder,
                         const Picture& shown) {
    Store::Adapters adapters =
        desktop.adapters(preferences, folder, {std::make_shared<PictureBrowser>(shown)});
    adapters.clock = [] { return benchNow; };
    return adapters;
}

// The panel over a store that has published the picture, as after a first refresh.
struct World {
    QTemporaryDir folder;
    Preferences preferences{
        std::make_unique<QSettings>(folder.filePath(u"settings.ini"_s), QSettings::IniFormat)};
    QuietDesktop desktop;
    Picture shown = picture(25000);
    Store store{adapters(desktop, preferences, folder.path(), shown)};
    PanelController panel{{.store = store,
                           .preferences = preferences,
                           .workspace = desktop,
                           .pasteboard = desktop,
                           .toast = desktop}};

    World() {
        preferences.setSearchSuggestions(false); // nothing here waits on the network
        store.tabs = shown.tabs;
        store.history = PreparedHistory(shown.history);
        store.commands = shown.commands;
        store.historyLoadedAt = benchNow;
    }

    // One turn of the event loop as the screen sees it: the posted layout and show events,
    // the window painted, and the replaced rows deleted.
    void drawFrame() {
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(panel.window().grab());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

World& world() {
    static World shared;
    return shared;
}

// Wall-clock and this thread's processor time: the machine is shared, so the wall clock also
// holds the time other processes took the processor away.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = threadMilliseconds();

    static double threadMilliseconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
};

struct Samples {
    std::vector<double> wall;
    std::vector<double> cpu;

    void add(const Stopwatch& since) {
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since.wall)
                .count());
        cpu.push_back(Stopwatch::threadMilliseconds() - since.cpu);
    }
};

double median(std::vector<double> samples) {
    const auto middle = samples.begin() + qsizetype(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

void report(benchmark::State& state, const Samples& samples) {
    state.counters["median_ms"] = median(samples.wall);
    state.counters["p95_ms"] = percentile95(samples.wall);
    state.counters["cpu_median_ms"] = median(samples.cpu);
    state.counters["cpu_p95_ms"] = percentile95(samples.cpu);
}

// Words typed a letter at a time, with the deletions between them, over and over.
QStringList keystrokes() {
    QStringList typed;
    for (const QString& word : {u"github"_s, u"lisbon hotel"_s, u"release notes"_s, u"doc.qt"_s}) {
        for (qsizetype length = 1; length <= word.size(); ++length)
            typed.append(word.left(length));
        for (qsizetype length = word.size() - 1; length > 0; --length)
            typed.append(word.left(length));
    }
    return typed;
}

void keystroke(benchmark::State& state) {
    World& shared = world();
    shared.panel.show(OpenMode::newTab);
    const QStringList typed = keystrokes();
    Samples samples;
    qsizetype next = 0;
    for (auto _ : state) {
        const Stopwatch start;
        shared.panel.type(typed[next++ % typed.size()]);
        shared.drawFrame();
        samples.add(start);
    }
    shared.panel.close();
    report(state, samples);
}
BENCHMARK(keystroke)->Unit(benchmark::kMillisecond)->MinTime(3);

// The open hot key: reset, the default rows, placement and the first frame with rows.
void open(benchmark::State& state) {
    World& shared = world();
    Samples samples;
    for (auto _ : state) {
        const Stopwatch start;
        shared.panel.show(OpenMode::newTab);
        shared.drawFrame();
        samples.add(start);
        if (shared.panel.rows().isEmpty())
            state.SkipWithError("the panel opened without rows");
        shared.panel.close();
        QCoreApplication::processEvents(); // the refresh that opening asked for
    }
    report(state, samples);
}
BENCHMARK(open)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
