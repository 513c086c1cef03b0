#include "browsers/FirefoxBrowser.h"

#include "browsers/DevToolsConnection.h"
#include "browsers/DevToolsTabs.h"
#include "history/FirefoxHistory.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <mutex>

namespace kivaro {

namespace {

using DevToolsTabs::FrontWindow;
using DevToolsTabs::frontWindow;
using DevToolsTabs::Listed;
using Operation = RemoteBrowser::Operation;

// The file holds one small JSON object.
constexpr qint64 largestServerFile = 4096;

// One top-level browsing context (a tab) as the protocol lists it. A listed tab's target id is
// its context id.
struct Context {
    QString id;
    QString url;
    QString window; // client-window id; empty where Firefox does not say
};

DevToolsCall call(const QString& method, QJsonObject params = {}) {
    return DevToolsCall{method, std::move(params), {}};
}

DevToolsCall onContext(const QString& method, const QString& context, QJsonObject params = {}) {
    params.insert(QStringLiteral("context"), context);
    return call(method, std::move(params));
}

DevToolsCall navigate(const QString& context, const QString& url) {
    return onContext(
        QStringLiteral("browsingContext.navigate"), context,
        {{QStringLiteral("url"), url}, {QStringLiteral("wait"), QStringLiteral("none")}});
}

// Runs in a sandbox of our own: the page's scripts cannot change what the document answers
// there (a page redefining visibilityState would otherwise pass for the current tab).
DevToolsCall evaluate(const QString& context, const QString& expression) {
    const QJsonObject target{{QStringLiteral("context"), context},
                             {QStringLiteral("sandbox"), QStringLiteral("kivaro")}};
    return call(QStringLiteral("script.evaluate"), {{QStringLiteral("expression"), expression},
                                                    {QStringLiteral("target"), target},
                                                    {QStringLiteral("awaitPromise"), false}});
}

DevToolsCall create(const QString& type, const QString& beside = {}) {
    QJsonObject params{{QStringLiteral("type"), type}};
    if (!beside.isEmpty())
        params.insert(QStringLiteral("referenceContext"), beside);
    return call(QStringLiteral("browsingContext.create"), params);
}

// The session every connection opens first; Firefox serves nothing without one. Dialogs the
// pages open are left to the user: an automation session would otherwise dismiss them.
const QList<DevToolsCall> greeting{call(
    QStringLiteral("session.new"),
    {{QStringLiteral("capabilities"),
      QJsonObject{
          {QStringLiteral("alwaysMatch"),
           QJsonObject{{QStringLiteral("unhandledPromptBehavior"),
                        QJsonObject{{QStringLiteral("default"), QStringLiteral("ignore")}}}}}}}})};

// Firefox keeps a session whose socket merely closed, and refuses every other until it
// restarts: the connection ends ours when it goes.
const QList<DevToolsCall> farewell{call(QStringLiteral("session.end"))};

QList<Context> contexts(const std::optional<QJsonObject>& tree) {
    QList<Context> found;
    if (!tree)
        return found;
    for (const QJsonValue& value : tree->value(QStringLiteral("contexts")).toArray()) {
        const QJsonObject context = value.toObject();
        const QString id = context.value(QStringLiteral("context")).toString();
        if (!id.isEmpty())
            found.append({id, context.value(QStringLiteral("url")).toString(),
                          context.value(QStringLiteral("clientWindow")).toString()});
    }
    return found;
}

// The strings of a script.evaluate answer whose value is an array of strings; none for an
// exception or any other shape.
QStringList strings(const std::optional<QJsonObject>& evaluated) {
    if (!evaluated || evaluated->value(QStringLiteral("type")).toString() != u"success")
        return {};
    QStringList found;
    const QJsonObject result = evaluated->value(QStringLiteral("result")).toObject();
    for (const QJsonValue& item : result.value(QStringLiteral("value")).toArray())
        found.append(item.toObject().value(QStringLiteral("value")).toString());
    return found;
}

// The client windows the answer marks active.
QStringList activeWindows(const std::optional<QJsonObject>& windows) {
    QStringList active;
    if (!windows)
        return active;
    for (const QJsonValue& value : windows->value(QStringLiteral("clientWindows")).toArray()) {
        const QJsonObject window = value.toObject();
        if (window.value(QStringLiteral("active")).toBool())
            active.append(window.value(QStringLiteral("clientWindow")).toString());
    }
    return active;
}

QList<DevToolsCall> closing(const QList<Listed>& tabs, const QString& keep = {}) {
    QList<DevToolsCall> calls;
    for (const Listed& each : tabs) {
        if (each.targetId != keep)
            calls.append(onContext(QStringLiteral("browsingContext.close"), each.targetId));
    }
    return calls;
}

bool allAnswered(const QList<std::optional<QJsonObject>>& answers) {
    return std::all_of(answers.begin(), answers.end(), [](const auto& a) { return a.has_value(); });
}

// The server file written last among the profiles', read on every (re)connection: Firefox
// writes it each time it starts and leaves it behind when it quits. Without one, the port
// Firefox takes when none is given.
DevToolsEndpoint discover() {
    std::optional<DevToolsEndpoint> newest;
    QDateTime newestTime;
    for (const QString& folder : FirefoxHistory::profileFolders()) {
        const QString path = folder + u'/' + FirefoxBrowser::serverFile;
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        const auto endpoint = FirefoxBrowser::parseServerFile(file.read(largestServerFile));
        const QDateTime written = QFileInfo(path).lastModified();
        if (endpoint && (!newest || written > newestTime)) {
            newest = endpoint;
            newest->folder = folder;
            newestTime = written;
        }
    }
    return newest.value_or(
        DevToolsEndpoint{FirefoxBrowser::standardPort, QStringLiteral("/session"), {}});
}

} // namespace

// What copies of one browser share: the connection and the tabs as listed last.
struct FirefoxBrowser::Shared {
    DevToolsConnection connection{[] { return std::optional(discover()); }, greeting, farewell};
    std::mutex mutex;
    QHash<QString, qint64> windowNumbers; // client-window id → the window id handed out
    // The window active when last seen: while our own panel has the focus, no Firefox window
    // is active, and the one the user came from is still the front one.
    QString lastActive;
    DevToolsTabs::ListedTargets listed;

    QList<Listed> tabs(QDeadlineTimer deadline) {
        const QList<Context> found = contexts(connection.send(
            call(QStringLiteral("browsingContext.getTree"), {{QStringLiteral("maxDepth"), 0}}),
            deadline));
        QList<DevToolsCall> calls{call(QStringLiteral("browser.getClientWindows"))};
        for (const Context& context : found)
            calls.append(
                evaluate(context.id, QStringLiteral("[document.title, document.visibilityState]")));
        const auto answers = found.isEmpty() ? QList<std::optional<QJsonObject>>{std::nullopt}
                                             : connection.send(calls, deadline);
        const std::lock_guard lock(mutex);
        QStringList active = activeWindows(answers[0]);
        if (active.isEmpty())
            active.append(lastActive);
        lastActive = active.constFirst();
        const QList<Listed> arranged = arrange(found, answers, active);
        listed.remember(arranged);
        return arranged;
    }

    // Windows front to back: the active ones first, the others as the tree lists them.
    QList<Listed> arrange(const QList<Context>& found,
                          const QList<std::optional<QJsonObject>>& answers,
                          const QStringList& active) {
        QStringList windows = active;
        for (const Context& context : found) {
            if (!windows.contains(context.window))
                windows.append(context.window);
        }
        QList<Listed> arranged;
        for (qsizetype order = 0, listedOrder = 0; order < windows.size(); ++order) {
            qint64 index = 0;
            for (qsizetype i = 0; i < found.size(); ++i) {
                if (found[i].window != windows[order])
                    continue;
                const QStringList seen = strings(answers.value(i + 1));
                SafariTab tab{.windowID = windowNumber(windows[order]),
                              .windowOrder = listedOrder,
                              .index = ++index,
                              .title = seen.value(0),
                              .url = found[i].url,
                              .isCurrent = seen.value(1) == u"visible"};
                arranged.append({tab, found[i].id});
            }
            listedOrder += index > 0 ? 1 : 0;
        }
        return arranged;
    }

    qint64 windowNumber(const QString& window) {
        const auto known = windowNumbers.constFind(window);
        if (known != windowNumbers.constEnd())
            return *known;
        return windowNumbers.insert(window, windowNumbers.size() + 1).value();
    }

    bool send(const QList<DevToolsCall>& calls, QDeadlineTimer deadline) {
        return allAnswered(connection.send(calls, deadline));
    }

    // Makes a tab beside `beside` (a window when that is empty) and shows `url` in it (or
    // leaves it blank). Firefox refuses some addresses (its own about: and view-source:
    // pages); the tab made for one is closed again and the tab it came from shown again.
    bool createShowing(const QString& beside, const QString& url, QDeadlineTimer deadline) {
        const auto created = connection.send(
            create(beside.isEmpty() ? QStringLiteral("window") : QStringLiteral("tab"), beside),
            deadline);
        const QString context =
            created ? created->value(QStringLiteral("context")).toString() : QString();
        if (context.isEmpty())
            return false;
        if (url.isEmpty() || send({navigate(context, url)}, deadline))
            return true;
        QList<DevToolsCall> undo{onContext(QStringLiteral("browsingContext.close"), context)};
        if (!beside.isEmpty())
            undo.append(onContext(QStringLiteral("browsingContext.activate"), beside));
        send(undo, deadline);
        return false;
    }
};

FirefoxBrowser::FirefoxBrowser(QString bundleID, QString name, const PrivateFolder& snapshots,
                               std::chrono::milliseconds timeout)
    : bundleID_(std::move(bundleID)), name_(std::move(name)), snapshots_(snapshots),
      timeout_(timeout), shared_(std::make_shared<Shared>()) {}

std::optional<DevToolsEndpoint> FirefoxBrowser::parseServerFile(const QByteArray& contents) {
    const QJsonObject server = QJsonDocument::fromJson(contents).object();
    const QString host = server.value(QStringLiteral("ws_host")).toString();
    const qint64 port = server.value(QStringLiteral("ws_port")).toInteger();
    // Only this machine: the address we connect to is always 127.0.0.1.
    if ((host != u"127.0.0.1" && host != u"localhost") || port <= 0 || port > 65535)
        return std::nullopt;
    return DevToolsEndpoint{static_cast<quint16>(port), QStringLiteral("/session"), {}};
}

QList<SafariTab> FirefoxBrowser::tabs() const {
    return DevToolsTabs::tabsOf(shared_->tabs(QDeadlineTimer(timeout_)));
}

void FirefoxBrowser::switchTo(qint64 windowID, qint64 index) const {
    if (const auto context = shared_->listed.at(windowID, index))
        shared_->send({onContext(QStringLiteral("browsingContext.activate"), *context)},
                      QDeadlineTimer(timeout_));
}

void FirefoxBrowser::open(const QString& url, bool newTab) const {
    const QDeadlineTimer deadline(timeout_);
    const auto front = frontWindow(shared_->tabs(deadline));
    if (!front)
        shared_->createShowing({}, url, deadline);
    else if (newTab)
        shared_->createShowing(front->currentTab().targetId, url, deadline);
    else
        shared_->send({navigate(front->currentTab().targetId, url)}, deadline);
}

void FirefoxBrowser::close(qint64 windowID, qint64 index) const {
    if (const auto context = shared_->listed.at(windowID, index))
        shared_->send({onContext(QStringLiteral("browsingContext.close"), *context)},
                      QDeadlineTimer(timeout_));
}

namespace {

// The current tab of the front window, when Firefox shows one and it has an address.
std::optional<SafariTab> shownTab(const QList<Listed>& listed) {
    const auto front = frontWindow(listed);
    if (!front || !front->currentTab().tab.isCurrent || front->currentTab().tab.url.isEmpty())
        return std::nullopt;
    return front->currentTab().tab;
}

} // namespace

std::optional<std::pair<QString, QString>> FirefoxBrowser::currentPage() const {
    const auto tab = shownTab(shared_->tabs(QDeadlineTimer(timeout_)));
    if (!tab)
        return std::nullopt;
    return std::pair{tab->title.isEmpty() ? tab->url : tab->title, tab->url};
}

std::optional<TabRef> FirefoxBrowser::currentTab() const {
    const auto tab = shownTab(shared_->tabs(QDeadlineTimer(timeout_)));
    if (!tab)
        return std::nullopt;
    return TabRef{tab->windowID, tab->index, tab->url};
}

QStringList FirefoxBrowser::urls(qint64 windowID) const {
    return DevToolsTabs::urlsIn(shared_->tabs(QDeadlineTimer(timeout_)), windowID);
}

HistoryResult FirefoxBrowser::history() const {
    return FirefoxHistory::load(bundleID_, snapshots_);
}

bool FirefoxBrowser::reachable() const {
    return shared_->send({call(QStringLiteral("session.status"))}, QDeadlineTimer(timeout_));
}

QString FirefoxBrowser::status() const {
    if (shared_->connection.state() == DevToolsConnection::State::connected)
        return {};
    // Firefox serves one session at a time, so another program driving it also shuts us out.
    return name_ + QStringLiteral(" is not running with remote control, or another program "
                                  "controls it: start it with --remote-debugging-port to let "
                                  "Kivaro see its tabs");
}

bool FirefoxBrowser::supports(Operation operation) const {
    switch (operation) {
    case Operation::reloadIgnoringCache: // "ignoreCache is not supported yet"
    case Operation::toggleFullScreen:
    case Operation::viewSource: // view-source: addresses are refused like about: pages
    case Operation::developerTools:
        return false; // BiDi has no way to these
    default:
        return true;
    }
}

bool FirefoxBrowser::perform(Operation operation) const {
    const QDeadlineTimer deadline(timeout_);
    Shared& shared = *shared_;
    const auto front = frontWindow(shared.tabs(deadline));
    if (!front)
        return operation == Operation::newWindow && shared.createShowing({}, {}, deadline);
    const QString current = front->currentTab().targetId;
    const auto inCurrent = [&](const QString& method, QJsonObject params = {}) {
        return shared.send({onContext(method, current, std::move(params))}, deadline);
    };
    switch (operation) {
    case Operation::reload:
        return inCurrent(QStringLiteral("browsingContext.reload"),
                         {{QStringLiteral("wait"), QStringLiteral("none")}});
    case Operation::stop:
        return shared.send({evaluate(current, QStringLiteral("window.stop()"))}, deadline);
    case Operation::back:
    case Operation::forward:
        return inCurrent(QStringLiteral("browsingContext.traverseHistory"),
                         {{QStringLiteral("delta"), operation == Operation::back ? -1 : 1}});
    // Firefox does not let the protocol show its new-tab page: new tabs and windows are blank.
    case Operation::newTab:
        return shared.createShowing(current, {}, deadline);
    case Operation::newWindow:
        return shared.createShowing({}, {}, deadline);
    case Operation::duplicateTab:
        return shared.createShowing(current, front->currentTab().tab.url, deadline);
    case Operation::closeTab:
        return inCurrent(QStringLiteral("browsingContext.close"));
    case Operation::closeOtherTabs:
        return shared.send(closing(front->tabs, current), deadline);
    case Operation::closeWindow:
        return shared.send(closing(front->tabs), deadline);
    case Operation::nextTab:
    case Operation::previousTab:
        return shared.send({onContext(QStringLiteral("browsingContext.activate"),
                                      front->neighbour(operation == Operation::nextTab).targetId)},
                           deadline);
    case Operation::reloadIgnoringCache:
    case Operation::toggleFullScreen:
    case Operation::viewSource:
    case Operation::developerTools:
        return false;
    }
    return false;
}

} // namespace kivaro
