#pragma once

#include "browsers/Browser.h"
#include "browsers/SafariSide.h"
#include "platform/PrivateFolder.h"
#include "platform/Toast.h"
#include "platform/fake/FakeMenuBarAccess.h"
#include "platform/fake/FakePermissionProbe.h"
#include "platform/fake/FakeWorkspace.h"
#include "settings/Preferences.h"
#include "store/Clipboard.h"
#include "store/Store.h"
#include "support/RefusingFolder.h"

#include <QMap>
#include <QTemporaryDir>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace kivaro::testing {

// A barrier a fake call can be held at: closed, callers wait until the test opens it.
class Gate {
public:
    void close();
    void open();
    // Called by the fake: waits while the gate is closed.
    void pass();
    // Blocks the test until some caller is held at the gate.
    void waitForWaiter();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool closed_ = false;
    int waiting_ = 0;
};

// A browser held in memory: windows of addresses, one current tab. Thread-safe; records
// every call and whether any came on the main thread. `failing` makes every call fail as a
// browser that refuses scripting does: empty answers, no effect, and a status saying so.
class FakeBrowser : public Browser {
    // Runs `change` under the fake's lock and returns what it returns.
    template <class Change>
    auto locked(Change change) const {
        std::lock_guard lock(mutex_);
        return change();
    }

public:
    FakeBrowser(QString bundleID, QString name);

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    QList<SafariTab> tabs() const override;
    void switchTo(qint64 windowID, qint64 index) const override;
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    HistoryResult history() const override;
    QString status() const override;

    void setWindow(qint64 windowID, QStringList urls) {
        locked([&] { windows_[windowID] = std::move(urls); });
    }
    // Makes that tab current (the front tab of the front window).
    void setCurrent(qint64 windowID, qint64 index) {
        locked([&] {
            current_ = TabRef{windowID, index, windows_.value(windowID).value(index - 1)};
        });
    }
    void clearCurrent() {
        locked([&] { current_.reset(); });
    }
    void setHistory(HistoryResult history) {
        locked([&] { history_ = std::move(history); });
    }
    void setFailing(bool failing) {
        locked([&] { failing_ = failing; });
    }
    // Closes `gate` and holds tabs() (or every call) there until the test opens it.
    void holdTabsAt(Gate& gate);
    void holdEveryCallAt(Gate& gate);

    QStringList calls() const {
        return locked([&] { return calls_; });
    }
    int callsNamed(const QString& name) const;
    bool calledOnMainThread() const {
        return locked([&] { return onMain_; });
    }
    QMap<qint64, QStringList> windows() const {
        return locked([&] { return windows_; });
    }
    std::optional<TabRef> front() const {
        return locked([&] { return current_; });
    }

private:
    // Records the call and passes the gate; false when the call must fail.
    bool enter(const QString& call, bool isTabs = false) const;

    QString bundleID_;
    QString name_;
    mutable std::mutex mutex_;
    mutable QMap<qint64, QStringList> windows_;
    mutable std::optional<TabRef> current_;
    HistoryResult history_;
    bool failing_ = false;
    Gate* tabsGate_ = nullptr;
    Gate* everyGate_ = nullptr;
    mutable QStringList calls_;
    mutable bool onMain_ = false;
};

// Safari's extras as a test sets them: windows of tabs, the pinned tabs (unreadable when unset),
// the tab groups' tabs and the addresses a reveal finds. Closing takes the window's first tab
// with the bare address and never a window's last tab, as Safari does. Tests set the fields
// before the store runs and read them once it settles; the store's queue goes through the lock.
class FakeSafariSide : public SafariSide {
public:
    struct Window {
        qint64 id = 0;
        qint64 current = 1;
        QStringList urls; // each tab is titled "Title of " and its address
    };

    QList<SafariTab> groupTabs(const QList<SafariTab>& live) const override;
    bool reveal(const QString& url) const override;
    bool isRunning() const override;
    QList<SafariTab> tabs() const override;
    std::optional<QSet<QString>> pinnedURLs() const override;
    bool close(qint64 windowID, const QString& url) const override;

    void setGroupTabs(QList<SafariTab> tabs);
    // The reveal succeeds for these addresses, and then calls `onReveal`.
    void setRevealable(QStringList urls, std::function<void(const QString&)> onReveal = {});
    QStringList revealed() const;

    mutable QList<Window> windows;
    std::optional<QSet<QString>> pinned = QSet<QString>();
    bool running = true;
    bool closeFails = false;
    mutable QStringList closed; // "window address"
    mutable int reads = 0;
    mutable int closeCalls = 0;

private:
    mutable std::mutex mutex_;
    QList<SafariTab> groupTabs_;
    QStringList revealable_;
    std::function<void(const QString&)> onReveal_;
    mutable QStringList revealed_;
};

// Toasts shown, oldest first. Main thread only, as the real one.
class RecordingToast : public Toast {
public:
    struct Shown {
        QString text;
        QString symbol;
        std::optional<QString> done;
        bool operator==(const Shown&) const = default;
    };
    void show(const QString& text, const QString& symbol,
              const std::optional<QString>& done) override;
    QList<Shown> shown;
};

class RecordingPasteboard : public Pasteboard {
public:
    struct Content {
        QString text;
        std::optional<QString> url;
        bool operator==(const Content&) const = default;
    };
    void write(const QString& text, const std::optional<QString>& url) override;
    std::optional<Content> content;
    int writes = 0;
};

// Everything a store under test talks to, and the store's hidden file in a folder of its own.
struct StoreWorld {
    StoreWorld();

    Store::Adapters adapters(QList<Store::BrowserRef> browsers);
    std::unique_ptr<Store> store(QList<Store::BrowserRef> browsers);
    QString hiddenFile() const;
    QString archiveFile() const;

    QTemporaryDir folder;
    FakeWorkspace workspace;
    FakeMenuBarAccess menuBar;
    FakePermissionProbe permissions;
    RecordingToast toast;
    RecordingPasteboard pasteboard;
    RefusingFolder snapshots; // the store's tests use browsers the history readers do not know
    std::unique_ptr<Preferences> preferences;
    FakeSafariSide safari;
    QDateTime now = QDateTime(QDate(2026, 5, 1), QTime(12, 0), Qt::UTC);
};

// Runs the queue dry and delivers what it posted to the main thread.
void settle(Store& store);

} // namespace kivaro::testing
