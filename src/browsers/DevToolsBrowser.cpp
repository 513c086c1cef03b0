#include "browsers/DevToolsBrowser.h"

#include "browsers/DevToolsConnection.h"
#include "browsers/DevToolsTabs.h"
#include "history/BrowserFolders.h"
#include "history/ChromiumHistory.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QThread>

#include <algorithm>
#include <mutex>

namespace kivaro {

using DevToolsTabs::FrontWindow;
using DevToolsTabs::frontWindow;
using DevToolsTabs::Listed;
using DevToolsTabs::Page;

namespace {

const QString newTabPage = QStringLiteral("chrome://newtab/");

QString text(const std::optional<QJsonObject>& answer, const QString& key) {
    return answer ? answer->value(key).toString() : QString();
}

DevToolsCall call(const QString& method, QJsonObject params = {}) {
    return DevToolsCall{method, std::move(params), {}};
}

DevToolsCall onTarget(const QString& method, const QString& targetId) {
    return call(method, {{QStringLiteral("targetId"), targetId}});
}

DevToolsCall createTarget(const QString& url, bool newWindow = false) {
    QJsonObject params{{QStringLiteral("url"), url}};
    if (newWindow)
        params.insert(QStringLiteral("newWindow"), true);
    return call(QStringLiteral("Target.createTarget"), params);
}

bool allAnswered(const QList<std::optional<QJsonObject>>& answers) {
    return std::all_of(answers.begin(), answers.end(), [](const auto& a) { return a.has_value(); });
}

// The endpoint file of the folders written last, read on every (re)connection: the browser
// writes a new one each time it starts, and leaves it behind when it quits, so the newest
// is the one a running browser wrote.
std::optional<DevToolsEndpoint> discover(const QStringList& folders) {
    std::optional<DevToolsEndpoint> newest;
    QDateTime newestTime;
    for (const QString& relative : folders) {
        const QString folder = BrowserFolders::supportFolder() + u'/' + relative;
        const auto endpoint = DevToolsEndpoint::read(folder);
        const QDateTime written =
            QFileInfo(folder + QStringLiteral("/DevToolsActivePort")).lastModified();
        if (endpoint && (!newest || written > newestTime)) {
            newest = endpoint;
            newestTime = written;
        }
    }
    return newest;
}

} // namespace

// What copies of one browser share: the connection and the tabs as listed last.
struct DevToolsBrowser::Shared {
    explicit Shared(const QStringList& folders)
        : connection([folders] { return discover(folders); }) {}

    DevToolsConnection connection;
    std::mutex mutex;
    DevToolsTabOrder order;
    DevToolsTabs::ListedTargets listed;

    // The pages, most recently shown first.
    std::optional<QList<Page>> pages(QDeadlineTimer deadline) {
        const auto body = connection.fetch(QStringLiteral("/json/list"), deadline);
        return body ? DevToolsTabs::pages(*body) : std::nullopt;
    }

    QList<Listed> tabs(QDeadlineTimer deadline) {
        const auto found = pages(deadline);
        if (!found)
            return {};
        QList<DevToolsCall> lookups;
        for (const Page& page : *found)
            lookups.append(onTarget(QStringLiteral("Browser.getWindowForTarget"), page.targetId));
        const auto answers = connection.send(lookups, deadline);
        QHash<QString, qint64> windows;
        for (qsizetype i = 0; i < found->size(); ++i) {
            if (answers[i])
                windows.insert((*found)[i].targetId,
                               answers[i]->value(QStringLiteral("windowId")).toInteger());
        }
        const std::lock_guard lock(mutex);
        order.update(*found);
        const QList<Listed> arranged = DevToolsTabs::arrange(*found, windows, order);
        listed.remember(arranged);
        return arranged;
    }

    // Waits, within the deadline, until the page has left the list. The protocol answers a
    // close before the page is gone, and callers read the tabs again right after closing.
    void awaitGone(const QString& targetId, QDeadlineTimer deadline) {
        const auto listed = [&](const QList<Page>& pages) {
            return std::any_of(pages.begin(), pages.end(),
                               [&](const Page& page) { return page.targetId == targetId; });
        };
        for (auto found = pages(deadline); found && listed(*found) && !deadline.hasExpired();
             found = pages(deadline))
            QThread::msleep(retryPauseMs);
    }

    std::optional<Page> front(QDeadlineTimer deadline) {
        const auto found = pages(deadline);
        if (!found || found->isEmpty())
            return std::nullopt;
        return found->constFirst();
    }

    // Runs calls inside the page through a session of its own, closed again afterwards. A page
    // in the middle of a navigation refuses sessions for a moment ("Not attached to an active
    // page"), so the calls are tried again until they are answered or the deadline passes.
    QList<std::optional<QJsonObject>> inPage(const QString& targetId, QList<DevToolsCall> calls,
                                             QDeadlineTimer deadline) {
        auto answers = inPageOnce(targetId, calls, deadline);
        while (!allAnswered(answers) && !deadline.hasExpired() &&
               connection.state() == DevToolsConnection::State::connected) {
            QThread::msleep(retryPauseMs);
            answers = inPageOnce(targetId, calls, deadline);
        }
        return answers;
    }

    QList<std::optional<QJsonObject>> inPageOnce(const QString& targetId, QList<DevToolsCall> calls,
                                                 QDeadlineTimer deadline) {
        const auto attached = connection.send(
            call(QStringLiteral("Target.attachToTarget"),
                 {{QStringLiteral("targetId"), targetId}, {QStringLiteral("flatten"), true}}),
            deadline);
        const QString session = text(attached, QStringLiteral("sessionId"));
        if (session.isEmpty())
            return QList<std::optional<QJsonObject>>(calls.size());
        for (DevToolsCall& each : calls)
            each.sessionId = session;
        const auto answers = connection.send(calls, deadline);
        connection.send(call(QStringLiteral("Target.detachFromTarget"),
                             {{QStringLiteral("sessionId"), session}}),
                        deadline);
        return answers;
    }

    static constexpr int retryPauseMs = 50;

    bool inFrontPage(const QList<DevToolsCall>& calls, QDeadlineTimer deadline) {
        const auto page = front(deadline);
        return page && allAnswered(inPage(page->targetId, calls, deadline));
    }

    bool send(const QList<DevToolsCall>& calls, QDeadlineTimer deadline) {
        return allAnswered(connection.send(calls, deadline));
    }
};

DevToolsBrowser::DevToolsBrowser(QString bundleID, QString name, QStringList dataFolders,
                                 const PrivateFolder& snapshots, std::chrono::milliseconds timeout)
    : bundleID_(std::move(bundleID)), name_(std::move(name)), dataFolders_(std::move(dataFolders)),
      snapshots_(snapshots), timeout_(timeout), shared_(std::make_shared<Shared>(dataFolders_)) {}

QList<SafariTab> DevToolsBrowser::tabs() const {
    return DevToolsTabs::tabsOf(shared_->tabs(QDeadlineTimer(timeout_)));
}

void DevToolsBrowser::switchTo(qint64 windowID, qint64 index) const {
    if (const auto target = shared_->listed.at(windowID, index))
        shared_->send({onTarget(QStringLiteral("Target.activateTarget"), *target)},
                      QDeadlineTimer(timeout_));
}

void DevToolsBrowser::open(const QString& url, bool newTab) const {
    const QDeadlineTimer deadline(timeout_);
    const auto page = shared_->front(deadline);
    if (!page) {
        shared_->send({createTarget(url, true)}, deadline);
        return;
    }
    if (!newTab) {
        shared_->inPage(page->targetId,
                        {call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}})},
                        deadline);
        return;
    }
    // The browser puts a new tab into the window it last activated; activating the front tab
    // first makes that the front window (and raises it, as opening a page should).
    shared_->send(
        {onTarget(QStringLiteral("Target.activateTarget"), page->targetId), createTarget(url)},
        deadline);
}

void DevToolsBrowser::close(qint64 windowID, qint64 index) const {
    const auto target = shared_->listed.at(windowID, index);
    if (!target)
        return;
    const QDeadlineTimer deadline(timeout_);
    if (shared_->send({onTarget(QStringLiteral("Target.closeTarget"), *target)}, deadline))
        shared_->awaitGone(*target, deadline);
}

std::optional<std::pair<QString, QString>> DevToolsBrowser::currentPage() const {
    const auto page = shared_->front(QDeadlineTimer(timeout_));
    if (!page || page->url.isEmpty())
        return std::nullopt;
    return std::pair{page->title.isEmpty() ? page->url : page->title, page->url};
}

std::optional<TabRef> DevToolsBrowser::currentTab() const {
    for (const Listed& listed : shared_->tabs(QDeadlineTimer(timeout_))) {
        if (listed.tab.windowOrder == 0 && listed.tab.isCurrent && !listed.tab.url.isEmpty())
            return TabRef{listed.tab.windowID, listed.tab.index, listed.tab.url};
    }
    return std::nullopt;
}

QStringList DevToolsBrowser::urls(qint64 windowID) const {
    return DevToolsTabs::urlsIn(shared_->tabs(QDeadlineTimer(timeout_)), windowID);
}

HistoryResult DevToolsBrowser::history() const {
    QString folder = dataFolders_.value(0);
    if (const auto endpoint = shared_->connection.endpoint()) {
        for (const QString& candidate : dataFolders_) {
            if (endpoint->folder == BrowserFolders::supportFolder() + u'/' + candidate)
                folder = candidate;
        }
    }
    return ChromiumHistory::load(folder, bundleID_, snapshots_);
}

bool DevToolsBrowser::reachable() const {
    return shared_->send({call(QStringLiteral("Browser.getVersion"))}, QDeadlineTimer(timeout_));
}

QString DevToolsBrowser::status() const {
    if (shared_->connection.state() == DevToolsConnection::State::connected)
        return {};
    return name_ + QStringLiteral(" is not running with remote debugging: start it with "
                                  "--remote-debugging-port=0 to let Kivaro see its tabs");
}

namespace {

QList<DevToolsCall> closing(const QList<Listed>& tabs, const QString& keep = {}) {
    QList<DevToolsCall> calls;
    for (const Listed& tab : tabs) {
        if (tab.targetId != keep)
            calls.append(onTarget(QStringLiteral("Target.closeTarget"), tab.targetId));
    }
    return calls;
}

// The entry id `step` places away from the current one in a Page.getNavigationHistory answer.
std::optional<qint64> historyEntry(const std::optional<QJsonObject>& history, int step) {
    if (!history)
        return std::nullopt;
    const QJsonArray entries = history->value(QStringLiteral("entries")).toArray();
    const qint64 wanted = history->value(QStringLiteral("currentIndex")).toInteger(-1) + step;
    if (wanted < 0 || wanted >= entries.size())
        return std::nullopt;
    return entries[wanted].toObject().value(QStringLiteral("id")).toInteger();
}

} // namespace

bool DevToolsBrowser::perform(Operation operation) const {
    const QDeadlineTimer deadline(timeout_);
    Shared& shared = *shared_;
    const auto inFront = [&](const QString& method, QJsonObject params = {}) {
        return shared.inFrontPage({call(method, std::move(params))}, deadline);
    };
    const auto fromFront = [&](const auto& make) {
        const auto page = shared.front(deadline);
        return page && shared.send(make(*page), deadline);
    };
    const auto inFrontWindow = [&](const auto& make) {
        const auto front = frontWindow(shared.tabs(deadline));
        return front && shared.send(make(*front), deadline);
    };
    switch (operation) {
    case Operation::reload:
        return inFront(QStringLiteral("Page.reload"));
    case Operation::reloadIgnoringCache:
        return inFront(QStringLiteral("Page.reload"), {{QStringLiteral("ignoreCache"), true}});
    case Operation::stop:
        return inFront(QStringLiteral("Page.stopLoading"));
    case Operation::back:
    case Operation::forward:
        return step(operation == Operation::back ? -1 : 1);
    case Operation::newTab:
        return shared.send({createTarget(newTabPage)}, deadline);
    case Operation::newWindow:
        return shared.send({createTarget(newTabPage, true)}, deadline);
    case Operation::duplicateTab:
        return fromFront([](const Page& page) { return QList{createTarget(page.url)}; });
    case Operation::viewSource:
        return fromFront([](const Page& page) {
            return QList{createTarget(QStringLiteral("view-source:") + page.url)};
        });
    case Operation::developerTools:
        return fromFront([](const Page& page) {
            return QList{onTarget(QStringLiteral("Target.openDevTools"), page.targetId)};
        });
    case Operation::closeTab:
        return fromFront([](const Page& page) {
            return QList{onTarget(QStringLiteral("Target.closeTarget"), page.targetId)};
        });
    case Operation::closeOtherTabs:
        return inFrontWindow([](const FrontWindow& front) {
            return closing(front.tabs, front.currentTab().targetId);
        });
    case Operation::closeWindow:
        return inFrontWindow([](const FrontWindow& front) { return closing(front.tabs); });
    case Operation::nextTab:
    case Operation::previousTab:
        return inFrontWindow([&](const FrontWindow& front) {
            return QList{onTarget(QStringLiteral("Target.activateTarget"),
                                  front.neighbour(operation == Operation::nextTab).targetId)};
        });
    case Operation::toggleFullScreen:
        return toggleFullScreen();
    }
    return false;
}

bool DevToolsBrowser::step(int direction) const {
    const QDeadlineTimer deadline(timeout_);
    const auto page = shared_->front(deadline);
    if (!page)
        return false;
    const auto history = shared_->inPage(
        page->targetId, {call(QStringLiteral("Page.getNavigationHistory"))}, deadline);
    const auto entry = historyEntry(history.constFirst(), direction);
    return entry && allAnswered(shared_->inPage(page->targetId,
                                                {call(QStringLiteral("Page.navigateToHistoryEntry"),
                                                      {{QStringLiteral("entryId"), *entry}})},
                                                deadline));
}

bool DevToolsBrowser::toggleFullScreen() const {
    const QDeadlineTimer deadline(timeout_);
    const auto page = shared_->front(deadline);
    if (!page)
        return false;
    const auto window = shared_->connection.send(
        onTarget(QStringLiteral("Browser.getWindowForTarget"), page->targetId), deadline);
    if (!window)
        return false;
    const bool full = window->value(QStringLiteral("bounds"))
                          .toObject()
                          .value(QStringLiteral("windowState"))
                          .toString() == u"fullscreen";
    const QJsonObject bounds{{QStringLiteral("windowState"),
                              full ? QStringLiteral("normal") : QStringLiteral("fullscreen")}};
    return shared_->send(
        {call(QStringLiteral("Browser.setWindowBounds"),
              {{QStringLiteral("windowId"), window->value(QStringLiteral("windowId"))},
               {QStringLiteral("bounds"), bounds}})},
        deadline);
}

} // namespace kivaro
