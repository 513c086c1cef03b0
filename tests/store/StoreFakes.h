#pragma once

#include "browsers/Browser.h"
#include "browsers/SafariSide.h"
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

#include <atomic>
#include <memory>
#include <mutex>

namespace kivaro::testing {

using namespace Qt::StringLiterals;

// A fake's lock, and its fields read or written under it.
class Guarded {
protected:
    // Runs `change` under the lock and returns what it returns.
    template <class Change>
    auto locked(Change change) const {
        std::lock_guard lock(mutex_);
        return change();
    }
    template <class Field>
    Field read(const Field& field) const {
        return locked([&] { return field; });
    }
    template <class Field, class Value>
    void write(Field& field, Value value) {
        locked([&] { field = std::move(value); });
    }

    mutable std::mutex mutex_;
};

// A barrier a fake call can be held at: closed, callers wait until the test opens it.
class Gate {
public:
    void close() { closed_ = true; }
    void open() {
        closed_ = false;
        closed_.notify_all();
    }
    // Called by the fake: waits while the gate is closed.
    void pass() {
        ++waiting_;
        waiting_.notify_all();
        closed_.wait(true);
        --waiting_;
    }
    // Blocks the test until some caller is held at the gate.
    void waitForWaiter() const { waiting_.wait(0); }

private:
    std::atomic<bool> closed_ = false;
    std::atomic<int> waiting_ = 0;
};

// A browser held in memory: windows of addresses, one current tab. Thread-safe; records
// every call and whether any came on the main thread. `failing` makes every call fail as a
// browser that refuses scripting does: empty answers, no effect, and a status saying so.
class FakeBrowser : public Browser, private Guarded {
public:
    FakeBrowser(QString bundleID, QString name)
        : bundleID_(std::move(bundleID)), name_(std::move(name)) {}

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    QList<SafariTab> tabs() const override;
    void switchTo(qint64 windowID, qint64 index) const override;
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override {
        return answer(u"currentPage"_s, false, [&] {
            return current_
                       ? std::optional(std::pair(u"Title of "_s + current_->url, current_->url))
                       : std::nullopt;
        });
    }
    std::optional<TabRef> currentTab() const override {
        return answer(u"currentTab"_s, false, [&] { return current_; });
    }
    QStringList urls(qint64 windowID) const override {
        return answer(u"urls %1"_s.arg(windowID), false, [&] { return windows_.value(windowID); });
    }
    HistoryResult history() const override {
        return enter(u"history"_s, false) ? read(history_)
                                          : HistoryResult{{}, u"could not be read"_s};
    }
    QString status() const override {
        return read(failing_) ? name_ + u" does not answer"_s : QString();
    }

    void setWindow(qint64 windowID, QStringList urls) {
        locked([&] { windows_[windowID] = std::move(urls); });
    }
    // Makes that tab current (the front tab of the front window).
    void setCurrent(qint64 windowID, qint64 index) {
        locked([&] {
            current_ = TabRef{windowID, index, windows_.value(windowID).value(index - 1)};
        });
    }
    void clearCurrent() { write(current_, std::nullopt); }
    void setHistory(HistoryResult history) { write(history_, std::move(history)); }
    void setFailing(bool failing) { write(failing_, failing); }
    // Closes `gate` and holds tabs() (or every call) there until the test opens it.
    void holdTabsAt(Gate& gate) { hold(gate, tabsGate_); }
    void holdEveryCallAt(Gate& gate) { hold(gate, everyGate_); }

    QStringList calls() const { return read(calls_); }
    // Calls of that name, with or without arguments.
    int callsNamed(const QString& name) const {
        return locked([&] {
            return int(std::count_if(calls_.cbegin(), calls_.cend(), [&](const QString& call) {
                return call == name || call.startsWith(name + u' ');
            }));
        });
    }
    bool calledOnMainThread() const { return read(onMain_); }
    std::optional<TabRef> front() const { return read(current_); }

private:
    void hold(Gate& gate, Gate*& at) {
        gate.close();
        write(at, &gate);
    }
    // Records the call and passes the gate; false when the call must fail.
    bool enter(const QString& call, bool isTabs) const;
    // Enters the call, then runs `reply` under the lock; an empty answer when the call fails.
    template <class Reply>
    auto answer(const QString& call, bool isTabs, Reply reply) const -> decltype(reply()) {
        if (!enter(call, isTabs))
            return decltype(reply())();
        return locked(reply);
    }

    QString bundleID_;
    QString name_;
    mutable QMap<qint64, QStringList> windows_;
    mutable std::optional<TabRef> current_;
    HistoryResult history_;
    bool failing_ = false;
    Gate* tabsGate_ = nullptr;
    Gate* everyGate_ = nullptr;
    mutable QStringList calls_;
    mutable bool onMain_ = false;
};

// Safari's extras as a test sets them: windows of addresses (the first tab of each is current),
// the pinned tabs (unreadable when unset), the tab groups' tabs (offered as they are) and the
// addresses a reveal finds. Closing takes the window's first tab with the bare address and
// never a window's last tab, as Safari does. Tests set the fields before the store runs and
// read them once it settles; the store's queue goes through the lock.
class FakeSafariSide : public SafariSide, private Guarded {
public:
    QList<SafariTab> groupTabs(const QList<SafariTab>&) const override { return read(grouped); }
    bool reveal(const QString& url) const override;
    bool isRunning() const override { return read(running); }
    QList<SafariTab> tabs() const override;
    std::optional<QSet<QString>> pinnedURLs() const override { return read(pinned); }
    bool close(qint64 windowID, const QString& url) const override;

    // The reveal succeeds for these addresses, and then calls `onReveal`.
    void setRevealable(QStringList urls, std::function<void(const QString&)> onReveal = {}) {
        locked([&] {
            revealable_ = std::move(urls);
            onReveal_ = std::move(onReveal);
        });
    }
    QStringList revealed() const { return read(revealed_); }

    mutable QMap<qint64, QStringList> windows;
    QList<SafariTab> grouped; // the tab groups' tabs
    std::optional<QSet<QString>> pinned = QSet<QString>();
    bool running = true;
    bool closeFails = false;
    mutable QStringList closed; // "window address"
    mutable int reads = 0;
    mutable int closeCalls = 0;

private:
    QStringList revealable_;
    std::function<void(const QString&)> onReveal_;
    mutable QStringList revealed_;
};

// The tabs of `windows` in order, each titled "Title of " and its address; `isCurrent` tells
// which are in front.
QList<SafariTab> tabsOf(const QMap<qint64, QStringList>& windows,
                        const std::function<bool(qint64 windowID, qint64 index)>& isCurrent);

// Toasts shown, oldest first. Main thread only, as the real one.
class RecordingToast : public Toast {
public:
    struct Shown {
        QString text;
        QString symbol;
        std::optional<QString> done;
    };
    void show(const QString& text, const QString& symbol,
              const std::optional<QString>& done) override {
        shown.append({text, symbol, done});
    }
    QList<Shown> shown;
};

class RecordingPasteboard : public Pasteboard {
public:
    struct Content {
        QString text;
        std::optional<QString> url;
    };
    void write(const QString& text, const std::optional<QString>& url) override {
        content = Content{text, url};
        ++writes;
    }
    std::optional<Content> content;
    int writes = 0;
};

// Everything a store under test talks to, and the store's hidden file in a folder of its own.
struct StoreWorld {
    StoreWorld();

    Store::Adapters adapters(QList<Store::BrowserRef> browsers);
    std::unique_ptr<Store> store(QList<Store::BrowserRef> browsers) {
        return std::make_unique<Store>(adapters(std::move(browsers)));
    }
    QString hiddenFile() const { return folder.filePath(u"data/hidden-history.json"_s); }
    QString archiveFile() const { return folder.filePath(u"data/archive.json"_s); }

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
