#pragma once

#include "browsers/Action.h"
#include "browsers/Browser.h"
#include "browsers/Command.h"
#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "history/HistoryEntry.h"
#include "search/PreparedHistory.h"
#include "store/DemoData.h"
#include "store/SerialQueue.h"
#include "store/TabTrail.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace kivaro {

class Archiver;
class MenuBarAccess;
class Pasteboard;
class PermissionProbe;
class Preferences;
class PrivateFolder;
class SafariSide;
class Toast;
class Workspace;

// The one model object of the running program: which browser is driven, the last picture of
// its tabs, commands, developer tools and history, and the trail of recently used tabs. Every
// conversation with a browser runs on the store's serial queue; every field the interface
// reads is written on the main thread, where results arrive by posting and are dropped when
// the store has switched browser meanwhile. History is published prepared for ranking: built on
// the queue, shared and never changed, so the panel ranks it without copying.
class Store : public QObject {
    Q_OBJECT

public:
    using BrowserRef = std::shared_ptr<const Browser>;
    using Done = std::function<void()>;

    // The outside world the store talks to: the platform's adapters, or fakes in tests.
    struct Adapters {
        Workspace& workspace;
        MenuBarAccess& menuBar;
        PermissionProbe& permissions;
        Toast& toast;
        Pasteboard& pasteboard;
        const PrivateFolder& snapshots;
        Preferences& preferences;
        // Safari's tab groups, reveal and archive; null where there is no Safari, and with it
        // there is no archive.
        SafariSide* safari = nullptr;
        // The browsers driven without opting in, in the store's order (the first is the one
        // the store starts on), and those driven only with "otherBrowsers" on.
        QList<BrowserRef> browsers;
        std::function<QList<BrowserRef>()> optInBrowsers;
        // The hidden-address and archive files; the application's own unless a test moves them.
        QString hiddenFile;
        QString archiveFile;
        // The current time; the system clock unless a test sets its own.
        std::function<QDateTime()> clock;
    };

    static inline const QString safariID = QStringLiteral("com.apple.Safari");
    // History older than this is read again on the next refresh.
    static constexpr qint64 historyLifetimeMs = 60'000;
    static constexpr int trailTickMs = 1'000;
    static constexpr int archiveTickMs = 60'000;
    // Safari needs a moment after a tab switch before its menu shows that tab's pin state.
    static constexpr int pinSettleMs = 150;

    explicit Store(Adapters adapters, QObject* parent = nullptr);
    // The demonstration store: shows `demo` and never talks to a browser or the hidden file.
    Store(Adapters adapters, DemoData demo, QObject* parent = nullptr);
    // Drops queued browser work, waits for the job that is running, and drops every result
    // still on its way to the main thread.
    ~Store() override;

    // State read by the interface (main thread).
    QList<SafariTab> tabs;
    QList<SafariTab> otherTabs; // Safari tab-group tabs that no window shows
    QList<Command> commands;
    QList<Command> devTools;
    PreparedHistory history;
    QString historyStatus;
    // Why the driven browser shows nothing and how to let Kivaro drive it; empty while it
    // answers.
    QString browserStatus;
    std::optional<QDateTime> historyLoadedAt;
    QList<ArchivedTab> archived;
    QHash<QString, qint64> hostVisits; // visits per host over `history`
    std::optional<DemoData> demo;
    QSet<QString> hidden; // bare addresses removed from history

    const BrowserRef& browser() const { return browser_; }
    static bool isSafari(const Browser& browser) { return browser.bundleID() == safariID; }

    // Every browser this platform can drive. With `optional` false, only those that need no
    // opting in.
    QList<BrowserRef> browsers(bool optional = true) const;
    // The browser to drive for a front application, honouring the "otherBrowsers" switch.
    BrowserRef browserFor(const QString& bundleID) const;
    // Switches the driven browser; its per-browser lists start empty.
    void use(BrowserRef browser);

    // Re-reads everything from the current browser. `done` runs on the main thread twice:
    // once the tabs are in, and once everything is; never when the browser changed meanwhile.
    void refresh(Done done = {});
    // Forces the next refresh to read history again, then refreshes.
    void reloadHistory();
    void trackTabs(bool on);
    bool tracking() const { return trailTimer_ != nullptr; }
    void noteCurrentTab();

    // Actions, called on the main thread; their effects follow on the queue.
    void perform(const Action& action, OpenMode mode);
    void closeTab(qint64 windowID, qint64 index, Done done = {});
    void togglePin(qint64 windowID, qint64 index);
    void togglePinCurrent();
    void switchToLastTab();
    void copyCurrentPage(bool markdown);

    void saveHidden();
    void clearHidden();

    // The archive pass run every minute.
    void archivePass();

    // Visits per host: lower-case host without "www.", the empty key for addresses without.
    static QHash<QString, qint64> visitsByHost(const QList<HistoryEntry>& history);

signals:
    // Some published field changed: tabs, history, commands, the archive, the hidden set or
    // the driven browser. Emitted on the main thread.
    void changed();

public:
    // For tests: blocks until the queue is idle. The main thread never waits otherwise.
    void waitUntilIdle() { queue_->waitUntilIdle(); }
    // The trail; read it only while the queue is idle.
    QList<TabRef> trail() const { return trail_.entries(); }

private:
    // Everything one refresh gathers on the queue.
    struct Picture {
        QList<SafariTab> tabs;
        QList<SafariTab> otherTabs;
        QList<Command> commands;
        QList<Command> devTools;
        QString browserStatus;
        struct History {
            PreparedHistory entries;
            QString status;
            QHash<QString, qint64> hostVisits;
        };
        std::optional<History> history;
    };

    void resetBrowserState(bool safari);
    // Whether `browser` is Safari with its extras at hand.
    bool withSafariSide(const Browser& browser) const;
    // The archive: its timer, and Safari's tabs seen on the queue.
    void startArchive();
    void seeTabs(const QList<SafariTab>& live, const QDateTime& at);
    // Takes a reopened page out of the archive and republishes the archive (on the queue).
    void restoreArchived(const QString& url);
    bool historyStale() const;
    bool isCurrent(const BrowserRef& browser) const;
    QDateTime now() const;

    // On the queue.
    // History is read when `sources` (the extra history sources) is given.
    Picture gather(const BrowserRef& browser, QList<SafariTab> tabs,
                   const std::optional<QSet<QString>>& sources) const;
    Picture::History readHistory(const Browser& front, const QSet<QString>& sources) const;
    void publishTabs(const BrowserRef& browser, const QList<SafariTab>& tabs, const Done& done);
    void publish(const BrowserRef& browser, const Picture& picture, const Done& done);
    void apply(const Picture& picture);
    void note(const TabRef& ref);
    void noteFront(const Browser& browser);
    void performOnQueue(const BrowserRef& browser, const Action& action, OpenMode mode);
    void revealOnQueue(const BrowserRef& browser, const QString& url);
    // Brings forward Safari's tab with that address, in whichever tab group it is.
    bool reveal(const QString& url);
    void menuOnQueue(const BrowserRef& browser, const QStringList& path);
    void copyLinkOnQueue(const BrowserRef& browser, bool markdown);
    void rereadTabs(const BrowserRef& browser);
    void switchBackOnQueue(const BrowserRef& browser);
    bool accessibilityOnQueue(const QString& message);
    void pressPin(const BrowserRef& browser);

    // Posting to the main thread; dropped when the store is gone by then.
    void onMain(std::function<void()> work);
    void toast(const QString& text, const QString& symbol);
    void needAccessibility(const QString& message);

    Adapters adapters_;
    std::unique_ptr<Archiver> archiver_; // queue only, after construction; null without Safari
    BrowserRef browser_;
    QTimer* archiveTimer_ = nullptr;
    QTimer* trailTimer_ = nullptr;
    std::atomic<bool> trailTickQueued_ = false;
    TabTrail trail_; // queue only
    // Last member: destroyed first, so no job outlives what it touches.
    std::unique_ptr<SerialQueue> queue_;
};

} // namespace kivaro
