#pragma once

#include "browsers/RemoteBrowser.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace kivaro {

// The browsers Linux drives, the Chromium family and Firefox: how each is recognised on the
// desktop and where it keeps its data, under the bundle identifiers the rest of the program
// uses. There is no Safari on Linux, so these are the only browsers the program drives there.
namespace LinuxBrowsers {

struct Entry {
    QString bundleID;
    QString name;
    // Under the support folder ("chromium" for ~/.config/chromium); empty for Firefox, whose
    // profiles.ini says where its profiles are.
    QString dataFolder;
    QStringList windowClasses; // X window classes, lower-case
    QStringList programs;      // commands that start it, the usual one first
    QStringList processNames;  // file names of its main executable

    bool operator==(const Entry&) const = default;
};

// Answers whether an application with that bundle identifier is installed.
using InstalledCheck = std::function<bool(const QString& bundleID)>;

// In the store's order: Chrome, Brave, Edge, Vivaldi, Chromium, Helium, Firefox.
const QList<Entry>& all();
std::optional<Entry> find(const QString& bundleID);
// The browser owning a window of this WM_CLASS (instance, class). Chromium names the instance
// after a custom profile ("chromium (Work)"), so the class decides first.
std::optional<Entry> forWindowClass(const QString& instance, const QString& className);
// The browser whose main executable is this file.
std::optional<Entry> forExecutable(const QString& path);

// Whether one of its programs is on the PATH.
bool isInstalled(const Entry& entry);
// The folders where the browser's DevToolsActivePort may be: its own data folder, then the
// dedicated profile folder (the data folder's name followed by "-kivaro"), which
// Chrome-branded builds need because they refuse remote debugging on the default profile.
QStringList devToolsFolders(const Entry& entry);

// A driven browser (DevTools for the Chromium family, WebDriver BiDi for Firefox) for every
// installed browser, in the table's order (the first one is the browser the store starts on).
// `installed` defaults to isInstalled.
QList<std::shared_ptr<RemoteBrowser>> browsers(const PrivateFolder& snapshots,
                                               const InstalledCheck& installed = {});

// The first of `browsers` that answers now, for a tool that needs one running browser.
std::shared_ptr<RemoteBrowser> firstReachable(const PrivateFolder& snapshots);

} // namespace LinuxBrowsers

} // namespace kivaro
