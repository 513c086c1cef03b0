// History loads over generated databases with the browsers' real layouts: 5,000 and 50,000
// addresses of 10 visits each, and five Chromium profiles of 5,000 addresses.
#include "history/ChromiumHistory.h"
#include "history/History.h"
#include "platform/linux/PosixPrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <sqlite3.h>

namespace {

using namespace kivaro;

const char* const fixtures = KIVARO_SOURCE_DIR "/tests/fixtures/";

QTemporaryDir& workFolder() {
    static QTemporaryDir folder;
    return folder;
}

QString underWork(const QString& relative) {
    return workFolder().path() + u'/' + relative;
}

void execute(const QString& db, const QByteArray& sql) {
    QDir().mkpath(QFileInfo(db).path());
    sqlite3* handle = nullptr;
    char* message = nullptr;
    if (sqlite3_open(QFile::encodeName(db).constData(), &handle) != SQLITE_OK ||
        sqlite3_exec(handle, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        fprintf(stderr, "cannot build %s: %s\n", qPrintable(db), message ? message : "");
        std::abort();
    }
    sqlite3_close(handle);
}

QByteArray script(const char* name) {
    QFile file(QString::fromUtf8(fixtures) + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

QByteArray numbers(qint64 count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           QByteArray::number(count) + ") ";
}

void buildChromium(const QString& db, qint64 addresses) {
    execute(db, script("chromium-history.sql") + "BEGIN;" + numbers(addresses) +
                    "INSERT INTO urls(url, title, visit_count, last_visit_time) "
                    "SELECT 'https://site' || (i % 997) || '.example/page/' || i, "
                    "'Page ' || i || ' of a generated site', 10, 13300000000000000 + i FROM n;" +
                    numbers(10) +
                    "INSERT INTO visits(url, visit_time) "
                    "SELECT u.id, u.last_visit_time - n.i FROM urls u, n; COMMIT;");
}

void buildSafari(const QString& db, qint64 addresses) {
    execute(db, script("safari-history.sql") + "BEGIN;" + numbers(addresses) +
                    "INSERT INTO history_items(url, visit_count, daily_visit_counts, "
                    "should_recompute_derived_visit_counts, visit_count_score) "
                    "SELECT 'https://site' || (i % 997) || '.example/page/' || i, 10, x'', 0, 0 "
                    "FROM n;" +
                    numbers(10) +
                    "INSERT INTO history_visits(history_item, visit_time, title) "
                    "SELECT h.id, 700000000 + h.id * 10 + n.i, 'Page ' || h.id FROM history_items "
                    "h, n; COMMIT;");
}

// The support folder holding a browser "bench-<addresses>-<profiles>" built once.
QString chromiumBrowser(qint64 addresses, int profiles) {
    const QString dataFolder = QStringLiteral("bench-%1-%2").arg(addresses).arg(profiles);
    const QString root = underWork(QStringLiteral("config/") + dataFolder);
    if (!QFileInfo::exists(root)) {
        QByteArray cache;
        for (int profile = 0; profile < profiles; ++profile) {
            const QString name = QStringLiteral("Profile %1").arg(profile);
            buildChromium(root + u'/' + name + QStringLiteral("/History"), addresses);
            cache += (profile ? ", \"" : "\"") + name.toUtf8() + "\": {}";
        }
        QFile state(root + QStringLiteral("/Local State"));
        if (!state.open(QIODevice::WriteOnly))
            std::abort();
        state.write("{\"profile\": {\"info_cache\": {" + cache + "}}}");
    }
    return dataFolder;
}

QString safariFolder(qint64 addresses) {
    const QString folder = underWork(QStringLiteral("safari-%1").arg(addresses));
    if (!QFileInfo::exists(folder))
        buildSafari(folder + QStringLiteral("/History.db"), addresses);
    return folder;
}

const PosixPrivateFolder& snapshots() {
    static const PosixPrivateFolder folder = [] {
        QDir().mkpath(underWork(QStringLiteral("run")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(underWork(QStringLiteral("config"))));
        return PosixPrivateFolder(underWork(QStringLiteral("run")), QStringLiteral("kivaro"));
    }();
    return folder;
}

void SafariLoad(benchmark::State& state) {
    const QString folder = safariFolder(state.range(0));
    for (auto _ : state) {
        const HistoryResult result = History::load(folder, snapshots());
        benchmark::DoNotOptimize(result.entries.size());
        if (result.entries.size() != qMin<qint64>(state.range(0), 5000))
            state.SkipWithError("unexpected entry count");
    }
}

void ChromiumLoad(benchmark::State& state) {
    const int profiles = int(state.range(1));
    const QString dataFolder = chromiumBrowser(state.range(0), profiles);
    for (auto _ : state) {
        const HistoryResult result =
            ChromiumHistory::load(dataFolder, QStringLiteral("bench"), snapshots());
        benchmark::DoNotOptimize(result.entries.size());
        if (result.entries.size() != qMin<qint64>(state.range(0), 5000))
            state.SkipWithError("unexpected entry count");
    }
}

BENCHMARK(SafariLoad)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(ChromiumLoad)
    ->Args({5000, 1})
    ->Args({50000, 1})
    ->Args({5000, 5})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
