#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// Where this platform's browsers keep their data. The folders are read from the environment on
// every call (HOME, XDG_CONFIG_HOME), so a process that changes them sees the change.
namespace BrowserFolders {

// A Chromium-family browser and its data folder, relative to supportFolder().
struct ChromiumFolder {
    QString bundleID;
    QString name;
    QString dataFolder;

    bool operator==(const ChromiumFolder&) const = default;
};

// The Chromium-family browsers whose tabs the program drives, in the store's order.
const QList<ChromiumFolder>& chromiumFamily();

// Arc keeps Chromium-style history but is only a history source; none where it does not run.
std::optional<ChromiumFolder> arc();

// "~/Library/Application Support" on macOS, the XDG configuration folder ("~/.config") on Linux.
QString supportFolder();

// The folders that may hold Firefox's "profiles.ini", most usual first: on Linux the XDG one
// current releases use, the classic "~/.mozilla/firefox", the Snap's and the Flatpak's, and
// those Debian's ESR names after itself; on macOS "Firefox" in the support folder.
QStringList firefoxRoots();

// "~/Library/Safari" on macOS; none where Safari does not run.
std::optional<QString> safariFolder();

// Whether the folder can be listed. macOS refuses to list protected folders without Full Disk
// Access even when their permission bits allow it.
bool canList(const QString& folder);

} // namespace BrowserFolders

} // namespace kivaro
