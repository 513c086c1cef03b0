#include "browsers/SafariBrowser.h"

#include "browsers/TabGroups.h"
#include "history/History.h"

namespace kivaro {

SafariPlaces SafariPlaces::system() {
    return {.historyFolder = History::folder(), .tabsDatabase = TabGroups::database()};
}

SafariBrowser::SafariBrowser(ScriptRunner& runner, Workspace& workspace, MenuBarAccess& menus,
                             const PrivateFolder& snapshots, SafariPlaces places)
    : runner_(&runner), workspace_(&workspace), menus_(&menus), snapshots_(&snapshots),
      places_(std::move(places)) {}

QString SafariBrowser::bundleID() const {
    return Safari::bundleID;
}

QString SafariBrowser::name() const {
    return QStringLiteral("Safari");
}

QList<SafariTab> SafariBrowser::tabs() const {
    return Safari::tabs(*runner_, *workspace_);
}

void SafariBrowser::switchTo(qint64 windowID, qint64 index) const {
    Safari::switchTo(*runner_, windowID, index);
}

void SafariBrowser::open(const QString& url, bool newTab) const {
    Safari::open(*runner_, url, newTab);
}

void SafariBrowser::close(qint64 windowID, qint64 index) const {
    Safari::close(*runner_, windowID, index);
}

std::optional<std::pair<QString, QString>> SafariBrowser::currentPage() const {
    return Safari::currentPage(*runner_, *workspace_);
}

std::optional<TabRef> SafariBrowser::currentTab() const {
    return Safari::currentTab(*runner_, *workspace_);
}

QStringList SafariBrowser::urls(qint64 windowID) const {
    return Safari::urls(*runner_, windowID);
}

HistoryResult SafariBrowser::history() const {
    if (!places_.historyFolder)
        return {{}, QStringLiteral("no history found")};
    return History::load(*places_.historyFolder, *snapshots_);
}

bool SafariBrowser::isRunning() const {
    return workspace_->isRunning(Safari::bundleID);
}

bool SafariBrowser::close(qint64 windowID, const QString& url) const {
    return Safari::close(*runner_, windowID, url);
}

QStringList SafariBrowser::frontURLs() const {
    return Safari::frontURLs(*runner_);
}

bool SafariBrowser::reveal(const QString& url) const {
    return Safari::reveal(url, *runner_, *workspace_, *menus_, places_.pause);
}

QList<SafariTab> SafariBrowser::groupTabs(const QList<SafariTab>& live) const {
    if (!places_.tabsDatabase)
        return {};
    return TabGroups::load(live, *places_.tabsDatabase, *snapshots_);
}

std::optional<QSet<QString>> SafariBrowser::pinnedURLs() const {
    if (!places_.tabsDatabase)
        return std::nullopt;
    return TabGroups::pinnedURLs(*places_.tabsDatabase, *snapshots_);
}

} // namespace kivaro
