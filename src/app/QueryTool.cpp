#include "app/QueryTool.h"

#include "app/HistoryBrowser.h"
#include "app/QuietDesktop.h"
#include "app/StateFile.h"
#include "search/Ranker.h"
#include "settings/Preferences.h"
#include "store/Store.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace kivaro {

namespace {

constexpr int badInput = 2;

struct Options {
    QString statePath;
    QString query;
    bool dev = false;
    ResultLayout layout = ResultLayout::grouped;
    QList<ResultSection> order = ResultSection::allCases();
    SearchEngine engine = SearchEngine::google;
    bool live = false;
    QSet<QString> sources; // extra history sources for --live
};

std::optional<SearchEngine> engineNamed(const QString& name) {
    for (SearchEngine engine : SearchEngine::allCases()) {
        if (engine.rawValue().compare(name, Qt::CaseInsensitive) == 0)
            return engine;
    }
    return std::nullopt;
}

// The section order named on the command line; every name must be a section.
std::variant<QList<ResultSection>, QString> orderNamed(const QString& list) {
    const QStringList names = list.split(u',', Qt::SkipEmptyParts);
    for (const QString& name : names) {
        if (!ResultSection::fromRaw(name.trimmed()))
            return QStringLiteral("unknown section \"%1\" in --order (tabs, history, search, "
                                  "commands)")
                .arg(name);
    }
    QStringList trimmed;
    for (const QString& name : names)
        trimmed.append(name.trimmed());
    return ResultSection::ordered(trimmed);
}

std::variant<Options, QString> parseOptions(QCommandLineParser& parser,
                                            const QStringList& arguments) {
    const QCommandLineOption state(QStringLiteral("state"),
                                   QStringLiteral("The state file (JSON) to rank against."),
                                   QStringLiteral("file"));
    const QCommandLineOption dev(QStringLiteral("dev"),
                                 QStringLiteral("Rank the developer tools instead."));
    const QCommandLineOption layout(QStringLiteral("layout"),
                                    QStringLiteral("grouped (default) or ranked."),
                                    QStringLiteral("layout"));
    const QCommandLineOption order(QStringLiteral("order"),
                                   QStringLiteral("Section order, e.g. tabs,history,search."),
                                   QStringLiteral("sections"));
    const QCommandLineOption engine(QStringLiteral("engine"),
                                    QStringLiteral("google (default), duckDuckGo, kagi or bing."),
                                    QStringLiteral("name"));
    const QCommandLineOption live(
        QStringLiteral("live"),
        QStringLiteral("Rank against this machine's history instead of a state file."));
    const QCommandLineOption sources(
        QStringLiteral("sources"),
        QStringLiteral("With --live, extra history sources by id, e.g. com.google.Chrome."),
        QStringLiteral("ids"));
    parser.setApplicationDescription(
        QStringLiteral("Ranks QUERY against a saved picture of the browser and prints the "
                       "result rows as JSON."));
    parser.addOptions({state, dev, layout, order, engine, live, sources});
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("query"), QStringLiteral("The typed text."),
                                 QStringLiteral("QUERY..."));
    if (!parser.parse(arguments))
        return parser.errorText();

    Options options;
    options.statePath = parser.value(state);
    options.live = parser.isSet(live);
    if (options.live && parser.isSet(state))
        return QStringLiteral("--state and --live exclude each other");
    if (options.statePath.isEmpty() && !options.live && !parser.isSet(QStringLiteral("help")))
        return QStringLiteral("missing --state FILE");
    for (const QString& id : parser.value(sources).split(u',', Qt::SkipEmptyParts))
        options.sources.insert(id.trimmed());
    options.query = parser.positionalArguments().join(u' ');
    options.dev = parser.isSet(dev);
    if (parser.isSet(layout)) {
        const auto named = resultLayoutFromRaw(parser.value(layout));
        if (!named)
            return QStringLiteral("--layout must be grouped or ranked");
        options.layout = *named;
    }
    if (parser.isSet(order)) {
        auto named = orderNamed(parser.value(order));
        if (auto* problem = std::get_if<QString>(&named))
            return *problem;
        options.order = std::get<QList<ResultSection>>(named);
    }
    if (parser.isSet(engine)) {
        const auto named = engineNamed(parser.value(engine));
        if (!named)
            return QStringLiteral("--engine must be google, duckDuckGo, kagi or bing");
        options.engine = *named;
    }
    return options;
}

// The store's picture after one full refresh of `front`. The store's settings and files live
// in `scratch`: the tool never writes the user's own.
Store::Adapters liveAdapters(QuietDesktop& desktop, const PrivateFolder& snapshots,
                             Preferences& preferences, const QTemporaryDir& scratch) {
    return {.workspace = desktop,
            .menuBar = desktop,
            .permissions = desktop,
            .toast = desktop,
            .pasteboard = desktop,
            .snapshots = snapshots,
            .preferences = preferences,
            .scripts = desktop,
            .hiddenFile = scratch.filePath(QStringLiteral("hidden-history.json")),
            .archiveFile = scratch.filePath(QStringLiteral("archive.json"))};
}

// The front browser's history (the first Chromium-family browser found) plus the chosen
// sources, read by the store's refresh; the history status goes to `err`.
std::variant<QueryState, QString> liveState(const Options& options, const PrivateFolder* snapshots,
                                            QTextStream& err) {
    const auto front = HistoryBrowser::firstFound();
    if (!front)
        return QStringLiteral("no Chromium-family browser data found");
    if (!snapshots)
        return QStringLiteral("no private folder for database copies");
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return QStringLiteral("no temporary folder");
    Preferences preferences(std::make_unique<QSettings>(
        scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    preferences.setHistorySources(options.sources);
    QuietDesktop desktop;
    Store store(liveAdapters(desktop, *snapshots, preferences, scratch));
    store.use(std::make_shared<HistoryBrowser>(*front, *snapshots));
    // The refresh reports twice: with the tabs, then with everything, history included.
    QEventLoop loop;
    int reports = 0;
    store.refresh([&] {
        if (++reports == 2)
            loop.quit();
    });
    loop.exec();
    err << store.historyStatus << Qt::endl;
    QueryState state;
    state.history = store.history;
    state.now = QDateTime::currentDateTimeUtc();
    return state;
}

Ranking rankState(const QueryState& state, const Options& options) {
    Ranker ranker;
    ranker.tabs = state.tabs;
    ranker.history = state.history;
    ranker.hidden = state.hidden;
    ranker.commands = state.commands;
    ranker.archived = state.archived;
    ranker.devAvailable = state.devAvailable;
    ranker.now = state.now;
    ranker.layout = options.layout;
    ranker.order = options.order;
    ranker.engine = options.engine;
    if (options.dev)
        return ranker.rankDev(options.query, state.devTools);
    return ranker.rank(options.query, state.suggestionsFor(options.query));
}

} // namespace

int runQueryTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const PrivateFolder* snapshots) {
    QCommandLineParser parser;
    auto parsed = parseOptions(parser, arguments);
    if (auto* problem = std::get_if<QString>(&parsed)) {
        err << "kivaro-query: " << *problem << Qt::endl;
        return badInput;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    const Options& options = std::get<Options>(parsed);
    auto state =
        options.live ? liveState(options, snapshots, err) : StateFile::read(options.statePath);
    if (auto* problem = std::get_if<QString>(&state)) {
        err << "kivaro-query: " << *problem << Qt::endl;
        return badInput;
    }
    const Ranking ranking = rankState(std::get<QueryState>(state), options);
    out << QString::fromUtf8(
        QJsonDocument(StateFile::toJson(ranking)).toJson(QJsonDocument::Indented));
    out.flush();
    return 0;
}

} // namespace kivaro
