#pragma once

#include "browsers/SafariTab.h"
#include "platform/Descriptor.h"
#include "platform/MenuBarAccess.h"
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace kivaro {

// Safari driven by AppleScript: each function builds a script, runs it and reads the answer.
// Every call blocks until Safari has answered (the reveal loop for up to about 16 seconds), so
// none may run on the main thread. Nothing is kept between calls.
namespace Safari {

inline const QString bundleID = QStringLiteral("com.apple.Safari");

// How the reveal loop waits between polls; tests pass one that does not sleep.
using Pause = std::function<void(std::chrono::milliseconds)>;
// Sleeps the calling thread.
void sleep(std::chrono::milliseconds duration);

// The answer of a script; nothing when it failed (the runner has logged why).
std::optional<Descriptor> run(ScriptRunner& runner, const QString& source);

// `text` as one AppleScript string literal, quotes included. Backslashes and double quotes are
// escaped; line breaks and tabs are written as \n, \r, \t so the literal stays on one line;
// other control characters and Unicode line separators, which no address holds as such, are
// percent-encoded as a browser would.
QString literal(QStringView text);

// A {title, url} answer as (title, url): nothing without an address; the address stands in
// for a missing or empty title.
std::optional<std::pair<QString, QString>> pageFrom(const std::optional<Descriptor>& answer);

// The tab group a window's name shows: the text before the first " — ", else empty.
QString groupOf(const QString& windowName);

// Every tab of every window; empty without running anything when Safari is not running.
QList<SafariTab> tabs(ScriptRunner& runner, const Workspace& workspace);
void switchTo(ScriptRunner& runner, qint64 windowID, qint64 index);
void open(ScriptRunner& runner, const QString& url, bool newTab);
void close(ScriptRunner& runner, qint64 windowID, qint64 index);
// Closes the first tab of the window whose bare address is the wanted one, unless it is the
// window's last tab. Whether a tab was closed.
bool close(ScriptRunner& runner, qint64 windowID, const QString& url);
// (title, url) of the front window's current tab; the address stands in for a missing title.
std::optional<std::pair<QString, QString>> currentPage(ScriptRunner& runner,
                                                       const Workspace& workspace);
std::optional<TabRef> currentTab(ScriptRunner& runner, const Workspace& workspace);
QStringList urls(ScriptRunner& runner, qint64 windowID);
// The addresses of the front window's tabs.
QStringList frontURLs(ScriptRunner& runner);
// Makes the tab with that (bare) address current in the front window, stepping through the
// tab groups with Window > Go To Next Tab Group until a window name repeats or 16 switches
// have been made. Launches or activates Safari first. Whether the tab is now current.
bool reveal(const QString& url, ScriptRunner& runner, Workspace& workspace, MenuBarAccess& menus,
            const Pause& pause = sleep);

} // namespace Safari

} // namespace kivaro
