#include "browsers/ChromiumBrowser.h"

#include "browsers/Safari.h"
#include "history/BrowserFolders.h"
#include "history/ChromiumHistory.h"

#include <QHash>

namespace kivaro {

namespace {

using namespace Qt::StringLiterals;

QString appNameOf(const QString& bundleID) {
    static const QHash<QString, QString> names{
        {u"com.google.Chrome"_s, u"Google Chrome"_s},
        {u"com.brave.Browser"_s, u"Brave Browser"_s},
        {u"com.microsoft.edgemac"_s, u"Microsoft Edge"_s},
        {u"com.vivaldi.Vivaldi"_s, u"Vivaldi"_s},
        {u"org.chromium.Chromium"_s, u"Chromium"_s},
        {u"net.imput.helium"_s, u"Helium"_s},
    };
    return names.value(bundleID);
}

// One window of the tabs answer, at position `order`; a window of the wrong shape adds nothing.
void appendWindow(const Descriptor& window, qint64 order, QList<SafariTab>& tabs) {
    const Descriptor titles = window.item(3);
    const Descriptor addresses = window.item(4);
    if (titles.isMissing() || addresses.isMissing())
        return;
    const qint64 windowID = window.item(1).number();
    const qint64 active = window.item(2).number();
    const QStringList urls = addresses.texts();
    for (qsizetype k = 0; k < urls.size(); ++k) {
        tabs.append({.windowID = windowID,
                     .windowOrder = order,
                     .index = k + 1,
                     .title = titles.stringAt(k + 1),
                     .url = urls[k],
                     .group = {},
                     .isCurrent = k + 1 == active});
    }
}

} // namespace

ChromiumBrowser::ChromiumBrowser(QString bundleID, QString name, QString appName,
                                 QString dataFolder, ScriptRunner& runner,
                                 const Workspace& workspace, const PrivateFolder& snapshots)
    : bundleID_(std::move(bundleID)), name_(std::move(name)), appName_(std::move(appName)),
      dataFolder_(std::move(dataFolder)), runner_(&runner), workspace_(&workspace),
      snapshots_(&snapshots) {}

QList<ChromiumBrowser> ChromiumBrowser::all(ScriptRunner& runner, const Workspace& workspace,
                                            const PrivateFolder& snapshots) {
    QList<ChromiumBrowser> browsers;
    for (const BrowserFolders::ChromiumFolder& folder : BrowserFolders::chromiumFamily()) {
        browsers.append(ChromiumBrowser(folder.bundleID, folder.name, appNameOf(folder.bundleID),
                                        folder.dataFolder, runner, workspace, snapshots));
    }
    return browsers;
}

QList<std::shared_ptr<const Browser>> ChromiumBrowser::installed(ScriptRunner& runner,
                                                                 const Workspace& workspace,
                                                                 const PrivateFolder& snapshots) {
    QList<std::shared_ptr<const Browser>> browsers;
    for (const ChromiumBrowser& browser : all(runner, workspace, snapshots)) {
        if (workspace.isInstalled(browser.bundleID()))
            browsers.append(std::make_shared<ChromiumBrowser>(browser));
    }
    return browsers;
}

QList<SafariTab> ChromiumBrowser::tabs() const {
    const auto windows = runIfRunning(
        tell() + u"\n  set out to {}\n  repeat with w in windows\n    try\n"
                 u"      set end of out to {id of w, active tab index of w, title of every tab "
                 u"of w, URL of every tab of w}\n"
                 u"    end try\n  end repeat\n  return out\nend tell"_s);
    QList<SafariTab> tabs;
    for (qsizetype p = 0; windows && p < windows->count(); ++p)
        appendWindow(windows->item(p + 1), p, tabs);
    return tabs;
}

void ChromiumBrowser::switchTo(qint64 windowID, qint64 index) const {
    runIfRunning(tell() + u"\n  set w to window id "_s + QString::number(windowID) +
                 u"\n  set active tab index of w to "_s + QString::number(index) +
                 u"\n  set index of w to 1\n  activate\nend tell"_s);
}

void ChromiumBrowser::open(const QString& url, bool newTab) const {
    const QString q = Safari::literal(url);
    const QString inWindow =
        newTab ? u"tell window 1 to make new tab at end of tabs with properties {URL:"_s + q +
                     u"}\n    set active tab index of window 1 to (count of tabs of window 1)"_s
               : u"set URL of active tab of window 1 to "_s + q;
    run(tell() +
        u"\n  activate\n  if (count of windows) = 0 then\n    make new window\n"
        u"    set URL of active tab of window 1 to "_s +
        q + u"\n  else\n    "_s + inWindow + u"\n  end if\nend tell"_s);
}

void ChromiumBrowser::close(qint64 windowID, qint64 index) const {
    runIfRunning(tell() + u" to close tab "_s + QString::number(index) + u" of window id "_s +
                 QString::number(windowID));
}

std::optional<std::pair<QString, QString>> ChromiumBrowser::currentPage() const {
    return Safari::pageFrom(runIfRunning(
        tell() + u" to return {title of active tab of window 1, URL of active tab of window 1}"_s));
}

std::optional<TabRef> ChromiumBrowser::currentTab() const {
    const auto tab = runIfRunning(tell() + u" to return {id of window 1, active tab index of "
                                           u"window 1, URL of active tab of window 1}"_s);
    const QString url = tab ? tab->stringAt(3) : QString();
    if (url.isEmpty())
        return std::nullopt;
    return TabRef{.windowID = tab->item(1).number(), .index = tab->item(2).number(), .url = url};
}

QStringList ChromiumBrowser::urls(qint64 windowID) const {
    const auto answer = runIfRunning(tell() + u" to return URL of every tab of window id "_s +
                                     QString::number(windowID));
    return answer ? answer->texts() : QStringList();
}

HistoryResult ChromiumBrowser::history() const {
    return ChromiumHistory::load(dataFolder_, bundleID_, *snapshots_);
}

bool ChromiumBrowser::isRunning() const {
    return workspace_->isRunning(bundleID_);
}

QString ChromiumBrowser::tell() const {
    return u"tell application id "_s + Safari::literal(bundleID_);
}

std::optional<Descriptor> ChromiumBrowser::run(const QString& source) const {
    return Safari::run(*runner_, source);
}

std::optional<Descriptor> ChromiumBrowser::runIfRunning(const QString& source) const {
    return isRunning() ? run(source) : std::nullopt;
}

} // namespace kivaro
