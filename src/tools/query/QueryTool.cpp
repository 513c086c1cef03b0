#include "tools/query/QueryTool.h"

#include "base/Text.h"
#include "base/Web.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/LinuxBrowsers.h"
#include "search/Ranker.h"
#include "search/Suggestions.h"
#include "settings/Preferences.h"
#include "store/QuietDesktop.h"
#include "store/Store.h"
#include "tools/query/HistoryBrowser.h"
#include "tools/query/PanelPicture.h"
#include "tools/query/StateFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonDocument>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

namespace kivaro {

namespace {

constexpr int badInput = 2;
// The longest --live waits for the browser and its history.
constexpr std::chrono::seconds refreshLimit{30};

struct Options {
    QString statePath;
    QString query;
    bool dev = false;
    ResultLayout layout = ResultLayout::grouped;
    QList<ResultSection> order = ResultSection::allCases();
    SearchEngine engine = SearchEngine::google;
    bool live = false;
    QSet<QString> sources;          // extra history sources for --live
    std::optional<SiteSearch> site; // --site: rank in site mode
    bool suggest = false;           // --suggest: ask the suggestion service first
    std::optional<QString> render;  // --render: draw the panel into this PNG file
    PanelPicture picture;
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

// The site of a host typed in any form ("YouTube.com", "www.youtube.com", an address).
std::optional<SiteSearch> siteOf(const QString& typed) {
    const QString host = Web::host(Web::normalize(typed));
    if (host.isEmpty())
        return std::nullopt;
    return SiteSearch::forHost(host);
}

// The picture's theme and selection, and what the ranking options say; a problem in words.
std::optional<QString> pictureOptions(const QString& theme, const QString& select,
                                      Options& options) {
    PanelPicture& picture = options.picture;
    const auto named = panelThemeFromRaw(theme.isEmpty() ? QStringLiteral("light") : theme);
    if (!named || *named == PanelTheme::automatic)
        return QStringLiteral("--theme must be light or dark");
    picture.theme = *named;
    bool number = true;
    const int row = select.isEmpty() ? 1 : select.toInt(&number);
    if (!number || row < 1 || row > 10)
        return QStringLiteral("--select must be a row number from 1 to 10");
    picture.select = row - 1;
    picture.query = options.query;
    picture.dev = options.dev;
    picture.site = options.site;
    picture.engine = options.engine;
    picture.layout = options.layout;
    picture.order = options.order;
    return std::nullopt;
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
    const QCommandLineOption site(
        QStringLiteral("site"),
        QStringLiteral("Rank in site mode for the site of HOST (a catalog site, or any host "
                       "searched through Google)."),
        QStringLiteral("host"));
    const QCommandLineOption suggest(
        QStringLiteral("suggest"),
        QStringLiteral("Fetch live search suggestions for the query over the network first."));
    parser.setApplicationDescription(
        QStringLiteral("Ranks QUERY against a saved picture of the browser and prints the "
                       "result rows as JSON."));
    const QCommandLineOption render(
        QStringLiteral("render"),
        QStringLiteral("Draw the panel for the query offscreen into a PNG file instead."),
        QStringLiteral("file"));
    const QCommandLineOption theme(QStringLiteral("theme"),
                                   QStringLiteral("With --render: light (default) or dark."),
                                   QStringLiteral("theme"));
    const QCommandLineOption current(
        QStringLiteral("current-tab"),
        QStringLiteral("With --render: the panel opened in current-tab mode."));
    const QCommandLineOption select(QStringLiteral("select"),
                                    QStringLiteral("With --render: select row N (1 is the top)."),
                                    QStringLiteral("n"));
    const QCommandLineOption menu(
        QStringLiteral("menu"), QStringLiteral("With --render: open the selected row's actions."));
    parser.addOptions({state, dev, layout, order, engine, live, sources, site, suggest, render,
                       theme, current, select, menu});
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
    if (parser.isSet(site)) {
        if (options.dev)
            return QStringLiteral("--site and --dev exclude each other");
        options.site = siteOf(parser.value(site));
        if (!options.site)
            return QStringLiteral("--site needs a host, e.g. youtube.com");
    }
    options.suggest = parser.isSet(suggest);
    if (parser.isSet(render)) {
        options.render = parser.value(render);
        auto problem = pictureOptions(parser.value(theme), parser.value(select), options);
        if (problem)
            return *problem;
        options.picture.mode = parser.isSet(current) ? OpenMode::currentTab : OpenMode::newTab;
        options.picture.menu = parser.isSet(menu);
    }
    return options;
}

// The store's adapters for one live refresh. The store's settings and files live in
// `scratch`: the tool never writes the user's own.
Store::Adapters liveAdapters(QuietDesktop& desktop, MenuBarAccess& menus,
                             const PrivateFolder& snapshots, Preferences& preferences,
                             const QTemporaryDir& scratch) {
    return {.workspace = desktop,
            .menuBar = menus,
            .permissions = desktop,
            .toast = desktop,
            .pasteboard = desktop,
            .snapshots = snapshots,
            .preferences = preferences,
            .hiddenFile = scratch.filePath(QStringLiteral("hidden-history.json")),
            .archiveFile = scratch.filePath(QStringLiteral("archive.json"))};
}

// Runs one full refresh: the store reports twice, with the tabs and then with everything.
// The store's picture of the first browser running with remote debugging (its tabs, commands
// and history), or else of the history of the first browser found, plus the
// chosen sources; the history status goes to `err`.
std::variant<QueryState, QString> liveState(const Options& options, const PrivateFolder* snapshots,
                                            QTextStream& err) {
    if (!snapshots)
        return QStringLiteral("no private folder for database copies");
    const auto driven = LinuxBrowsers::firstReachable(*snapshots);
    const auto found = driven ? std::nullopt : HistoryBrowser::firstFound();
    if (!driven && !found)
        return QStringLiteral("no Chromium-family or Firefox browser data found");
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return QStringLiteral("no temporary folder");
    Preferences preferences(std::make_unique<QSettings>(
        scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    preferences.setHistorySources(options.sources);
    QuietDesktop desktop;
    DevToolsMenuBarAccess menus(driven ? QList{driven} : QList<std::shared_ptr<RemoteBrowser>>());
    Store store(liveAdapters(desktop, menus, *snapshots, preferences, scratch));
    if (driven)
        store.use(driven);
    else
        store.use(std::make_shared<HistoryBrowser>(*found, *snapshots));
    if (!refreshFully(store, refreshLimit))
        err << QStringLiteral("%1 did not answer within %2 s; this is what arrived")
                   .arg(store.browser()->name())
                   .arg(refreshLimit.count())
            << Qt::endl;
    if (!store.browserStatus.isEmpty())
        err << store.browserStatus << Qt::endl;
    err << store.historyStatus << Qt::endl;
    QueryState state;
    state.tabs = store.tabs;
    state.commands = store.commands;
    state.history = store.history.items();
    state.now = QDateTime::currentDateTimeUtc();
    return state;
}

// The suggestions the service gives for the query, as the panel would ask for them: not for
// developer tools, an empty query or an address. Waits for the one delivery, which comes
// within the request's time limit.
QStringList liveSuggestions(const Options& options) {
    const QString query = Text::trimSpacesAndTabs(options.query).toString();
    if (options.dev || query.isEmpty() || Web::looksLikeURL(query))
        return {};
    QEventLoop loop;
    std::optional<QStringList> delivered;
    const auto task = Suggestions::fetch(
        query, options.site ? options.site->suggest : SuggestSource::google(),
        options.site ? options.site->host : QString(), [&](const QStringList& suggestions) {
            delivered = suggestions;
            loop.quit();
        });
    if (task && !delivered)
        loop.exec();
    return delivered.value_or(QStringList());
}

Ranking rankState(const QueryState& state, const Options& options) {
    Ranker ranker(options.engine);
    ranker.tabs = Prepared<SafariTab>(state.tabs);
    ranker.history = PreparedHistory(state.history);
    ranker.hidden = state.hidden;
    ranker.commands = state.commands;
    ranker.archived = Prepared<ArchivedTab>(state.archived);
    ranker.devAvailable = state.devAvailable;
    ranker.now = state.now;
    ranker.layout = options.layout;
    ranker.order = options.order;
    if (options.dev)
        return ranker.rankDev(options.query, state.devTools);
    const QStringList suggestions =
        options.suggest ? liveSuggestions(options) : state.suggestionsFor(options.query);
    if (options.site)
        return ranker.rankSite(options.query, suggestions, *options.site);
    return ranker.rank(options.query, suggestions);
}

QJsonObject output(const Ranking& ranking, const Options& options) {
    QJsonObject json = StateFile::toJson(ranking);
    if (options.site)
        json.insert(QStringLiteral("site"), StateFile::toJson(*options.site));
    return json;
}

int renderPicture(const QueryState& state, const Options& options, QTextStream& err) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        err << "kivaro-query: --render needs the widgets application" << Qt::endl;
        return badInput;
    }
    if (!options.picture.draw(state).save(*options.render, "PNG")) {
        err << "kivaro-query: could not write " << *options.render << Qt::endl;
        return badInput;
    }
    return 0;
}

} // namespace

bool refreshFully(Store& store, std::chrono::milliseconds limit) {
    QEventLoop loop;
    // A delivery that comes after the wait gave up finds the loop gone.
    auto reports = std::make_shared<int>(0);
    auto waiting = std::make_shared<QPointer<QEventLoop>>(&loop);
    store.refresh([reports, waiting] {
        if (++*reports == 2 && *waiting)
            (*waiting)->quit();
    });
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (*reports < 2)
        loop.exec();
    return *reports >= 2;
}

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
    if (options.render)
        return renderPicture(std::get<QueryState>(state), options, err);
    const Ranking ranking = rankState(std::get<QueryState>(state), options);
    out << QString::fromUtf8(
        QJsonDocument(output(ranking, options)).toJson(QJsonDocument::Indented));
    out.flush();
    return 0;
}

} // namespace kivaro
