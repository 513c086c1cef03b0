#include "store/Store.h"

#include "base/Identifiers.h"
#include "base/Web.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/Commands.h"
#include "browsers/MenuBar.h"
#include "browsers/SafariBrowser.h"
#include "history/HistorySource.h"
#include "platform/Workspace.h"
#include "settings/Preferences.h"
#include "store/Archiver.h"
#include "store/HiddenHistory.h"
#include "store/OffMainThread.h"
#include "store/SafariSide.h"

#include <QTimer>

namespace kivaro {

namespace {

const QString notLoaded = QStringLiteral("not loaded");

} // namespace

Store::Store(Adapters adapters, QObject* parent)
    : QObject(parent), adapters_(std::move(adapters)),
      safari_(std::make_shared<SafariBrowser>(adapters_.scripts, adapters_.workspace,
                                              adapters_.menuBar, adapters_.snapshots)),
      queue_(std::make_unique<SerialQueue>(Identifiers::bundle)) {
    if (adapters_.hiddenFile.isEmpty())
        adapters_.hiddenFile = HiddenHistory::defaultFile();
    if (adapters_.archiveFile.isEmpty())
        adapters_.archiveFile = Archiver::defaultFile();
    if (!adapters_.safari) {
        scriptedSafari_ = std::make_unique<ScriptedSafariSide>(*safari_);
        adapters_.safari = scriptedSafari_.get();
    }
    // The platform's first browser; where there is none, Safari, which then answers nothing.
    const QList<BrowserRef> always = browsers(false);
    browser_ = OffMainBrowser::wrap(always.isEmpty() ? safari_ : always.constFirst());
    resetBrowserState(isSafari(*browser_));
    hidden = HiddenHistory::load(adapters_.hiddenFile);
    archiver_ = std::make_unique<Archiver>(adapters_.archiveFile, *safari_, adapters_.preferences,
                                           adapters_.toast);
    archived = archiver_->state().archived;
    startArchive();
}

Store::Store(Adapters adapters, DemoData demoData, QObject* parent)
    : QObject(parent), adapters_(std::move(adapters)),
      safari_(std::make_shared<SafariBrowser>(adapters_.scripts, adapters_.workspace,
                                              adapters_.menuBar, adapters_.snapshots)),
      queue_(std::make_unique<SerialQueue>(Identifiers::bundle)) {
    browser_ = OffMainBrowser::wrap(safari_);
    resetBrowserState(true);
    tabs = demoData.tabs;
    history = demoData.history;
    devTools = demoData.devTools;
    hostVisits = demoData.visits;
    demo = std::move(demoData);
}

Store::~Store() {
    // Stop the worker before any member it may touch goes; results it already posted are
    // removed with this object's pending events.
    queue_.reset();
}

QList<Store::BrowserRef> Store::browsers(bool optional) const {
#ifdef Q_OS_MACOS
    // Safari always; the Chromium family once the user opts in.
    QList<BrowserRef> list{safari_};
    if (optional)
        list += chromiumBrowsers();
    return list + adapters_.platformBrowsers;
#else
    // Linux drives the Chromium family through DevTools; nothing there needs opting in.
    Q_UNUSED(optional);
    return adapters_.platformBrowsers;
#endif
}

#ifdef Q_OS_MACOS
QList<Store::BrowserRef> Store::chromiumBrowsers() const {
    QList<BrowserRef> list;
    for (const ChromiumBrowser& browser :
         ChromiumBrowser::all(adapters_.scripts, adapters_.workspace, adapters_.snapshots))
        list.append(std::make_shared<ChromiumBrowser>(browser));
    return list;
}
#endif

Store::BrowserRef Store::browserFor(const QString& bundleID) const {
    for (const BrowserRef& candidate : browsers(adapters_.preferences.otherBrowsers())) {
        if (candidate->bundleID() == bundleID)
            return candidate;
    }
    return nullptr;
}

void Store::use(BrowserRef next) {
    if (!next || next->bundleID() == browser_->bundleID())
        return;
    browser_ = OffMainBrowser::wrap(std::move(next));
    resetBrowserState(isSafari(*browser_));
    queue_->async([this] { trail_.clear(); });
}

void Store::resetBrowserState(bool safari) {
    tabs.clear();
    otherTabs.clear();
    history.clear();
    hostVisits.clear(); // it sums over `history`, which just went
    historyStatus = notLoaded;
    historyLoadedAt.reset();
    commands = safari ? Commands::defaults() : Commands::own();
    devTools.clear();
    browserStatus.clear();
}

QDateTime Store::now() const {
    return adapters_.clock ? adapters_.clock() : QDateTime::currentDateTimeUtc();
}

bool Store::historyStale() const {
    return !historyLoadedAt || historyLoadedAt->msecsTo(now()) > historyLifetimeMs;
}

bool Store::isCurrent(const BrowserRef& candidate) const {
    return candidate->bundleID() == browser_->bundleID();
}

void Store::onMain(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void Store::refresh(Done done) {
    if (demo) {
        if (done)
            done();
        return;
    }
    const bool withHistory = historyStale();
    const BrowserRef copy = browser_;
    const QDateTime at = now();
    queue_->async([this, copy, withHistory, at, done] {
        QList<SafariTab> live = copy->tabs();
        if (isSafari(*copy))
            seeTabs(live, at);
        publishTabs(copy, live, done);
        publish(copy, gather(copy, std::move(live), withHistory), done);
    });
}

void Store::reloadHistory() {
    historyLoadedAt.reset();
    refresh();
}

void Store::publishTabs(const BrowserRef& copy, const QList<SafariTab>& live, const Done& done) {
    onMain([this, copy, live, done] {
        if (!isCurrent(copy))
            return;
        tabs = live;
        if (done)
            done();
    });
}

Store::Picture Store::gather(const BrowserRef& copy, QList<SafariTab> live,
                             bool withHistory) const {
    requireOffMainThread("Store::gather");
    const bool safari = isSafari(*copy);
    Picture picture;
    if (safari && adapters_.safari)
        picture.otherTabs = adapters_.safari->groupTabs(live);
    picture.tabs = std::move(live);
    picture.browserStatus = copy->status();
    const QList<MenuBar::Item> items = MenuBar::walk(adapters_.menuBar, copy->bundleID());
    picture.commands = Commands::forBrowser(items, safari);
    picture.devTools = Commands::dev(items);
    if (withHistory) {
        Workspace& workspace = adapters_.workspace;
        picture.history = HistorySource::load(
            *copy, adapters_.preferences.historySources(), adapters_.snapshots,
            [&workspace](const QString& id) { return workspace.isInstalled(id); });
    }
    return picture;
}

void Store::publish(const BrowserRef& copy, const Picture& picture, const Done& done) {
    onMain([this, copy, picture, done] {
        if (!isCurrent(copy))
            return;
        apply(picture);
        if (done)
            done();
    });
}

void Store::apply(const Picture& picture) {
    tabs = picture.tabs;
    otherTabs = picture.otherTabs;
    commands = picture.commands;
    devTools = picture.devTools;
    browserStatus = picture.browserStatus;
    if (!picture.history)
        return;
    history = picture.history->entries;
    hostVisits = visitsByHost(history);
    historyStatus = picture.history->status;
    historyLoadedAt = now();
}

QHash<QString, qint64> Store::visitsByHost(const QList<HistoryEntry>& entries) {
    QHash<QString, qint64> visits;
    for (const HistoryEntry& entry : entries)
        visits[Web::host(entry.url)] += entry.visits;
    return visits;
}

void Store::trackTabs(bool on) {
    delete trailTimer_;
    trailTimer_ = nullptr;
    if (!on)
        return;
    noteCurrentTab();
    trailTimer_ = new QTimer(this); // a child: it stops with the store
    connect(trailTimer_, &QTimer::timeout, this, &Store::noteCurrentTab);
    trailTimer_->start(trailTickMs);
}

void Store::noteCurrentTab() {
    // A slow browser must not pile up ticks behind it: one waiting tick is enough.
    if (trailTickQueued_.exchange(true))
        return;
    const BrowserRef copy = browser_;
    queue_->async([this, copy] {
        trailTickQueued_ = false;
        noteFront(*copy);
    });
}

void Store::noteFront(const Browser& front) {
    if (const std::optional<TabRef> ref = front.currentTab())
        note(*ref);
}

void Store::note(const TabRef& ref) {
    requireOffMainThread("Store::note");
    trail_.note(ref);
}

void Store::saveHidden() {
    if (!demo)
        HiddenHistory::save(adapters_.hiddenFile, hidden);
}

void Store::clearHidden() {
    hidden.clear();
    saveHidden();
}

} // namespace kivaro
