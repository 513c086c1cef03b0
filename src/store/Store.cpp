#include "store/Store.h"

#include "base/Identifiers.h"
#include "base/Web.h"
#include "browsers/Commands.h"
#include "browsers/MenuBar.h"
#include "browsers/NoBrowser.h"
#include "browsers/SafariSide.h"
#include "history/HistorySource.h"
#include "platform/Workspace.h"
#include "settings/Preferences.h"
#include "store/Archiver.h"
#include "store/HiddenHistory.h"
#include "store/OffMainThread.h"

#include <QTimer>

namespace kivaro {

namespace {

const QString notLoaded = QStringLiteral("not loaded");

// What the store drives on a machine with none of the supported browsers.
std::shared_ptr<const Browser> noBrowser() {
    return std::make_shared<NoBrowser>(QString(), QStringLiteral("No browser"),
                                       QStringLiteral("No supported browser is installed."));
}

} // namespace

Store::Store(Adapters adapters, QObject* parent)
    : QObject(parent), adapters_(std::move(adapters)),
      queue_(std::make_unique<SerialQueue>(Identifiers::bundle)) {
    if (adapters_.hiddenFile.isEmpty())
        adapters_.hiddenFile = HiddenHistory::defaultFile();
    if (adapters_.archiveFile.isEmpty())
        adapters_.archiveFile = Archiver::defaultFile();
    const QList<BrowserRef> always = browsers(false);
    browser_ = OffMainBrowser::wrap(always.isEmpty() ? noBrowser() : always.constFirst());
    resetBrowserState(isSafari(*browser_));
    hidden = HiddenHistory::load(adapters_.hiddenFile);
    if (adapters_.safari) {
        archiver_ = std::make_unique<Archiver>(adapters_.archiveFile, *adapters_.safari);
        archived = archiver_->state().archived;
        startArchive();
    }
}

Store::Store(Adapters adapters, DemoData demoData, QObject* parent)
    : QObject(parent), adapters_(std::move(adapters)),
      queue_(std::make_unique<SerialQueue>(Identifiers::bundle)) {
    // The demonstration shows Safari's commands over its own content.
    browser_ =
        OffMainBrowser::wrap(std::make_shared<NoBrowser>(safariID, QStringLiteral("Safari")));
    resetBrowserState(true);
    tabs = demoData.tabs;
    history = PreparedHistory(demoData.history);
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
    if (!optional || !adapters_.optInBrowsers)
        return adapters_.browsers;
    return adapters_.browsers + adapters_.optInBrowsers();
}

bool Store::withSafariSide(const Browser& candidate) const {
    return adapters_.safari && isSafari(candidate);
}

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
    emit changed();
}

void Store::resetBrowserState(bool safari) {
    tabs.clear();
    otherTabs.clear();
    history = {};
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
    // Preferences are read here, on the main thread, and travel with the job.
    std::optional<QSet<QString>> sources;
    if (historyStale())
        sources = adapters_.preferences.historySources();
    const BrowserRef copy = browser_;
    const QDateTime at = now();
    queue_->async([this, copy, sources, at, done] {
        QList<SafariTab> live = copy->tabs();
        if (archiver_ && isSafari(*copy))
            seeTabs(live, at);
        publishTabs(copy, live, done);
        publish(copy, gather(copy, std::move(live), sources), done);
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
        emit changed();
        if (done)
            done();
    });
}

Store::Picture Store::gather(const BrowserRef& copy, QList<SafariTab> live,
                             const std::optional<QSet<QString>>& sources) const {
    requireOffMainThread("Store::gather");
    const bool safari = isSafari(*copy);
    Picture picture;
    if (withSafariSide(*copy))
        picture.otherTabs = adapters_.safari->groupTabs(live);
    picture.tabs = std::move(live);
    picture.browserStatus = copy->status();
    const QList<MenuBar::Item> items = MenuBar::walk(adapters_.menuBar, copy->bundleID());
    picture.commands = Commands::forBrowser(items, safari);
    picture.devTools = Commands::dev(items);
    if (sources)
        picture.history = readHistory(*copy, *sources);
    return picture;
}

Store::Picture::History Store::readHistory(const Browser& front,
                                           const QSet<QString>& sources) const {
    requireOffMainThread("Store::readHistory");
    const Workspace& workspace = adapters_.workspace;
    // The driven browser reads its own history, from the folder it really uses.
    const HistoryResult result = HistorySource::load(
        {front.bundleID(), front.name(), front.history()}, sources, adapters_.snapshots,
        [&workspace](const QString& id) { return workspace.isInstalled(id); });
    return {PreparedHistory(result.entries), result.status, visitsByHost(result.entries)};
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
    if (picture.history) {
        history = picture.history->entries;
        hostVisits = picture.history->hostVisits;
        historyStatus = picture.history->status;
        historyLoadedAt = now();
    }
    emit changed();
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
    emit changed();
}

} // namespace kivaro
