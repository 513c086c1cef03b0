#pragma once

#include "browsers/Browser.h"
#include "platform/PrivateFolder.h"
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"

#include <QList>
#include <QString>

#include <memory>

namespace kivaro {

// A browser built on Chromium, driven through the AppleScript dictionary the family shares
// ("active tab index", "title", "make new tab") and addressed by its bundle identifier. Tabs
// have no group. Scripts go through the runner it was built with; the adapters must outlive it.
class ChromiumBrowser : public Browser {
public:
    ChromiumBrowser(QString bundleID, QString name, QString appName, QString dataFolder,
                    ScriptRunner& runner, const Workspace& workspace,
                    const PrivateFolder& snapshots);

    // The supported browsers, in the store's order: Chrome, Brave, Edge, Vivaldi, Chromium,
    // Helium; data folders are this platform's.
    static QList<ChromiumBrowser> all(ScriptRunner& runner, const Workspace& workspace,
                                      const PrivateFolder& snapshots);
    // Those of all() the workspace has installed now, in the same order.
    static QList<std::shared_ptr<const Browser>>
    installed(ScriptRunner& runner, const Workspace& workspace, const PrivateFolder& snapshots);

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    // The application's full name ("Google Chrome").
    QString appName() const { return appName_; }
    // The browser's folder under the support folder, where its profiles live.
    QString dataFolder() const { return dataFolder_; }

    QList<SafariTab> tabs() const override;
    void switchTo(qint64 windowID, qint64 index) const override;
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    HistoryResult history() const override;

private:
    bool isRunning() const;
    // The first line of every script: the application addressed by its identifier.
    QString tell() const;
    std::optional<Descriptor> run(const QString& source) const;
    // Runs `source` only when the browser is running: listing never launches it.
    std::optional<Descriptor> runIfRunning(const QString& source) const;

    QString bundleID_;
    QString name_;
    QString appName_;
    QString dataFolder_;
    ScriptRunner* runner_;
    const Workspace* workspace_;
    const PrivateFolder* snapshots_;
};

} // namespace kivaro
