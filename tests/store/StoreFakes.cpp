#include "StoreFakes.h"

#include "base/Web.h"
#include "support/TestSettings.h"

#include <QCoreApplication>
#include <QThread>

namespace kivaro::testing {

bool FakeBrowser::enter(const QString& call, bool isTabs) const {
    Gate* gate = nullptr;
    {
        std::lock_guard lock(mutex_);
        calls_.append(call);
        if (QCoreApplication::instance() &&
            QThread::currentThread() == QCoreApplication::instance()->thread())
            onMain_ = true;
        gate = everyGate_ ? everyGate_ : (isTabs ? tabsGate_ : nullptr);
    }
    if (gate)
        gate->pass();
    std::lock_guard lock(mutex_);
    return !failing_;
}

QList<SafariTab> tabsOf(const QMap<qint64, QStringList>& windows,
                        const std::function<bool(qint64 windowID, qint64 index)>& isCurrent) {
    QList<SafariTab> list;
    qint64 order = 0;
    for (auto window = windows.cbegin(); window != windows.cend(); ++window, ++order) {
        for (qsizetype i = 0; i < window->size(); ++i)
            list.append({.windowID = window.key(),
                         .windowOrder = order,
                         .index = i + 1,
                         .title = u"Title of "_s + window->at(i),
                         .url = window->at(i),
                         .isCurrent = isCurrent(window.key(), i + 1)});
    }
    return list;
}

QList<SafariTab> FakeBrowser::tabs() const {
    return answer(u"tabs"_s, true, [&] {
        return tabsOf(windows_, [&](qint64 windowID, qint64 index) {
            return current_ && current_->windowID == windowID && current_->index == index;
        });
    });
}

void FakeBrowser::switchTo(qint64 windowID, qint64 index) const {
    answer(u"switchTo %1 %2"_s.arg(windowID).arg(index), false, [&] {
        const QStringList urls = windows_.value(windowID);
        if (index >= 1 && index <= urls.size())
            current_ = TabRef{windowID, index, urls.at(index - 1)};
    });
}

void FakeBrowser::open(const QString& url, bool newTab) const {
    answer(u"open %1 %2"_s.arg(url, newTab ? u"newTab" : u"currentTab"), false, [&] {
        if (current_ && !newTab) {
            windows_[current_->windowID][current_->index - 1] = url;
            current_->url = url;
            return;
        }
        QStringList& window = windows_[current_ ? current_->windowID : 1];
        window.append(url);
        current_ = TabRef{current_ ? current_->windowID : 1, window.size(), url};
    });
}

void FakeBrowser::close(qint64 windowID, qint64 index) const {
    answer(u"close %1 %2"_s.arg(windowID).arg(index), false, [&] {
        QStringList& window = windows_[windowID];
        if (index >= 1 && index <= window.size())
            window.removeAt(index - 1);
    });
}

bool FakeSafariSide::reveal(const QString& url) const {
    std::function<void(const QString&)> onReveal;
    {
        std::lock_guard lock(mutex_);
        revealed_.append(url);
        if (!revealable_.contains(url))
            return false;
        onReveal = onReveal_;
    }
    if (onReveal)
        onReveal(url);
    return true;
}

QList<SafariTab> FakeSafariSide::tabs() const {
    std::lock_guard lock(mutex_);
    ++reads;
    return tabsOf(windows, [](qint64, qint64 index) { return index == 1; });
}

bool FakeSafariSide::close(qint64 windowID, const QString& url) const {
    std::lock_guard lock(mutex_);
    ++closeCalls;
    const auto window = windows.find(windowID);
    if (window == windows.end() || closeFails || window->size() < 2)
        return false;
    for (qsizetype i = 0; i < window->size(); ++i) {
        if (Web::bare(window->at(i)) == Web::bare(url)) {
            closed.append(u"%1 %2"_s.arg(windowID).arg(window->takeAt(i)));
            return true;
        }
    }
    return false;
}

StoreWorld::StoreWorld()
    : preferences(std::make_unique<Preferences>(
          settingsFile(StoreKind::ini, folder.filePath(u"settings.conf"_s)))) {}

Store::Adapters StoreWorld::adapters(QList<Store::BrowserRef> browsers) {
    return {.workspace = workspace,
            .menuBar = menuBar,
            .permissions = permissions,
            .toast = toast,
            .pasteboard = pasteboard,
            .snapshots = snapshots,
            .preferences = *preferences,
            .safari = &safari,
            .browsers = std::move(browsers),
            .hiddenFile = hiddenFile(),
            .archiveFile = archiveFile(),
            .clock = [this] { return now; }};
}

void settle(Store& store) {
    // A result posted to the main thread may queue more work (and the other way round).
    for (int round = 0; round < 3; ++round) {
        store.waitUntilIdle();
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace kivaro::testing
