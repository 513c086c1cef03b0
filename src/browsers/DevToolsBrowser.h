#pragma once

#include "browsers/RemoteBrowser.h"
#include "platform/PrivateFolder.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

namespace kivaro {

// A Chromium-family browser driven through its DevTools protocol, where no AppleScript exists
// (Linux). The browser must run with remote debugging on; it then names its endpoint in a
// "DevToolsActivePort" file in its user data folder, which is looked for in `dataFolders`
// (relative to the support folder; the file written last wins). Every operation waits at
// most `timeout` for the browser, so a hung browser never holds up the caller for long; when the
// browser cannot be reached, lists are empty, nothing happens, and status() says what to do.
//
// Copies share one connection and one memory of the tabs listed last: a (window id, index)
// handed out by tabs(), urls() or currentTab() is resolved through the target it stood for, so
// it selects that same tab even after others opened or closed, and nothing once it is gone.
class DevToolsBrowser final : public RemoteBrowser {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{2000};

    DevToolsBrowser(QString bundleID, QString name, QStringList dataFolders,
                    const PrivateFolder& snapshots,
                    std::chrono::milliseconds timeout = defaultTimeout);

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    // Page targets only; see DevToolsTabs for how windows, order and current tabs are found.
    QList<SafariTab> tabs() const override;
    // Activates the tab, which also raises its window under a window manager.
    void switchTo(qint64 windowID, qint64 index) const override;
    // A new tab goes to the window of the front tab; the current tab is navigated.
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    // The history of the user data folder the browser was last reached in (else the first).
    HistoryResult history() const override;

    bool reachable() const override;
    // Empty while the browser answers; otherwise how to turn remote debugging on.
    QString status() const override;
    bool perform(Operation operation) const override;

    const QStringList& dataFolders() const { return dataFolders_; }

private:
    struct Shared;

    bool step(int direction) const;
    bool toggleFullScreen() const;

    QString bundleID_;
    QString name_;
    QStringList dataFolders_;
    const PrivateFolder& snapshots_;
    std::chrono::milliseconds timeout_;
    std::shared_ptr<Shared> shared_;
};

} // namespace kivaro
