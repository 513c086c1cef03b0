#include "browsers/LinuxBrowsers.h"

#include "browsers/DevToolsBrowser.h"
#include "browsers/FirefoxBrowser.h"
#include "history/BrowserFolders.h"
#include "history/HistorySource.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <array>

namespace kivaro::LinuxBrowsers {

namespace {

struct Row {
    const char16_t* bundleID;
    const char16_t* windowClasses;
    const char16_t* programs;
    const char16_t* processNames;
};

// Several names are separated by '|'. Names and data folders come from BrowserFolders.
constexpr std::array<Row, 6> rows{{
    {u"com.google.Chrome", u"google-chrome|google-chrome-beta|google-chrome-unstable",
     u"google-chrome|google-chrome-stable", u"chrome"},
    {u"com.brave.Browser", u"brave-browser", u"brave-browser|brave-browser-stable|brave", u"brave"},
    {u"com.microsoft.edgemac", u"microsoft-edge|microsoft-edge-beta|microsoft-edge-dev",
     u"microsoft-edge|microsoft-edge-stable", u"msedge"},
    {u"com.vivaldi.Vivaldi", u"vivaldi-stable|vivaldi", u"vivaldi|vivaldi-stable", u"vivaldi-bin"},
    {u"org.chromium.Chromium", u"chromium|chromium-browser", u"chromium|chromium-browser",
     u"chromium|chromium-browser"},
    {u"net.imput.helium", u"helium", u"helium", u"helium"},
}};

QStringList names(const char16_t* raw) {
    return QString::fromUtf16(raw).split(u'|');
}

std::optional<Entry> entryFor(const Row& row) {
    for (const auto& folder : BrowserFolders::chromiumFamily()) {
        if (folder.bundleID == QString::fromUtf16(row.bundleID))
            return Entry{folder.bundleID,          folder.name,         folder.dataFolder,
                         names(row.windowClasses), names(row.programs), names(row.processNames)};
    }
    return std::nullopt;
}

template <typename Matches>
std::optional<Entry> first(Matches matches) {
    for (const Entry& entry : all())
        if (matches(entry))
            return entry;
    return std::nullopt;
}

// Firefox names its window class after the build: "firefox", or "firefox-esr" for Debian's ESR.
Entry firefox() {
    const QStringList names{QStringLiteral("firefox"), QStringLiteral("firefox-esr")};
    return Entry{HistorySource::firefoxID,
                 QStringLiteral("Firefox"),
                 {},
                 names,
                 names,
                 names + QStringList{QStringLiteral("firefox-bin")}};
}

} // namespace

const QList<Entry>& all() {
    static const QList<Entry> entries = [] {
        QList<Entry> list;
        for (const Row& row : rows)
            if (const auto entry = entryFor(row))
                list.append(*entry);
        list.append(firefox());
        return list;
    }();
    return entries;
}

std::optional<Entry> find(const QString& bundleID) {
    return first([&](const Entry& entry) { return entry.bundleID == bundleID; });
}

std::optional<Entry> forWindowClass(const QString& instance, const QString& className) {
    const QString byClass = className.toLower();
    if (auto entry = first([&](const Entry& e) { return e.windowClasses.contains(byClass); }))
        return entry;
    const QString byInstance = instance.section(u' ', 0, 0).toLower();
    return first([&](const Entry& e) { return e.windowClasses.contains(byInstance); });
}

std::optional<Entry> forExecutable(const QString& path) {
    const QString file = QFileInfo(path).fileName();
    return first([&](const Entry& entry) { return entry.processNames.contains(file); });
}

bool isInstalled(const Entry& entry) {
    for (const QString& program : entry.programs)
        if (!QStandardPaths::findExecutable(program).isEmpty())
            return true;
    return false;
}

QStringList devToolsFolders(const Entry& entry) {
    return {entry.dataFolder, entry.dataFolder + QStringLiteral("-kivaro")};
}

QList<std::shared_ptr<RemoteBrowser>> browsers(const PrivateFolder& snapshots,
                                               const InstalledCheck& installed) {
    QList<std::shared_ptr<RemoteBrowser>> list;
    for (const Entry& entry : all()) {
        if (!(installed ? installed(entry.bundleID) : isInstalled(entry)))
            continue;
        if (entry.bundleID == HistorySource::firefoxID)
            list.append(std::make_shared<FirefoxBrowser>(entry.bundleID, entry.name, snapshots));
        else
            list.append(std::make_shared<DevToolsBrowser>(entry.bundleID, entry.name,
                                                          devToolsFolders(entry), snapshots));
    }
    return list;
}

std::shared_ptr<RemoteBrowser> firstReachable(const PrivateFolder& snapshots) {
    for (const auto& browser : browsers(snapshots))
        if (browser->reachable())
            return browser;
    return nullptr;
}

} // namespace kivaro::LinuxBrowsers
