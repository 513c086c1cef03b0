#pragma once

#include "browsers/Browser.h"
#include "browsers/Safari.h"
#include "platform/MenuBarAccess.h"
#include "platform/PrivateFolder.h"
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"

#include <QSet>

#include <optional>

namespace kivaro {

// Where Safari keeps the files SafariBrowser reads, and how its reveal loop waits. The defaults
// are this platform's; tests point them at their own files.
struct SafariPlaces {
    // Safari's history folder (History::folder()); none where Safari does not run.
    std::optional<QString> historyFolder;
    // SafariTabs.db (TabGroups::database()); none where Safari does not run.
    std::optional<QString> tabsDatabase;
    Safari::Pause pause = Safari::sleep;

    static SafariPlaces system();
};

// Safari as a Browser: every operation goes to the Safari function of the same name, through
// the adapters it was built with (they must outlive it). Also the one door to Safari's
// own extras: closing by address, revealing a tab in another group, and the tab database.
class SafariBrowser : public Browser {
public:
    SafariBrowser(ScriptRunner& runner, Workspace& workspace, MenuBarAccess& menus,
                  const PrivateFolder& snapshots, SafariPlaces places = SafariPlaces::system());

    QString bundleID() const override;
    QString name() const override;
    QList<SafariTab> tabs() const override;
    void switchTo(qint64 windowID, qint64 index) const override;
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    HistoryResult history() const override;

    bool isRunning() const;
    // Closes the window's first tab with that bare address, never its last tab; whether it did.
    bool close(qint64 windowID, const QString& url) const;
    QStringList frontURLs() const;
    // Whether a tab with that address is now current in the front window (see Safari::reveal).
    bool reveal(const QString& url) const;
    // Tabs of tab groups that no window shows (see TabGroups::load).
    QList<SafariTab> groupTabs(const QList<SafariTab>& live) const;
    // The bare addresses of the pinned tabs; nothing when the tab database cannot be read.
    std::optional<QSet<QString>> pinnedURLs() const;

private:
    ScriptRunner* runner_;
    Workspace* workspace_;
    MenuBarAccess* menus_;
    const PrivateFolder* snapshots_;
    SafariPlaces places_;
};

} // namespace kivaro
