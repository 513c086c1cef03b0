#include "browsers/Safari.h"

#include "base/Web.h"
#include "browsers/MenuBar.h"

#include <QSet>
#include <QThread>

#include <algorithm>
#include <array>

namespace kivaro::Safari {

namespace {

using namespace Qt::StringLiterals;

const QString tell = u"tell application \"Safari\""_s;

const QString tabsScript = tell + u"\n"
                                  u"  set out to {}\n"
                                  u"  repeat with w in windows\n"
                                  u"    try\n"
                                  u"      set end of out to {id of w, index of current tab of w, "
                                  u"name of w, name of every tab of w, URL of every tab of w}\n"
                                  u"    end try\n"
                                  u"  end repeat\n"
                                  u"  return out\n"
                                  u"end tell"_s;

const QString frontURLsScript = tell + u" to return URL of every tab of window 1"_s;
const QString currentPageScript =
    tell + u" to return {name of current tab of window 1, URL of current tab of window 1}"_s;
const QString currentTabScript = tell + u" to return {id of window 1, index of current tab of "
                                        u"window 1, URL of current tab of window 1}"_s;
const QString windowNameScript = tell + u" to return name of window 1"_s;

const QStringList nextTabGroup{u"Window"_s, u"Go To Next Tab Group"_s};
constexpr int groupSwitches = 16;
constexpr int namePolls = 20;
constexpr std::chrono::milliseconds pollInterval(50);

QString switchToScript(qint64 windowID, qint64 index) {
    return tell + u"\n  set w to window id "_s + QString::number(windowID) +
           u"\n  set current tab of w to tab "_s + QString::number(index) +
           u" of w\n  set index of w to 1\n  activate\nend tell"_s;
}

QString openScript(const QString& url, bool newTab) {
    const QString q = literal(url);
    const QString inWindow =
        newTab ? u"    tell window 1 to set current tab to (make new tab with properties {URL:"_s +
                     q + u"})\n"_s
               : u"    set URL of current tab of window 1 to "_s + q + u"\n"_s;
    return tell +
           u"\n  activate\n  if (count of windows) = 0 then\n"
           u"    make new document with properties {URL:"_s +
           q + u"}\n  else\n"_s + inWindow + u"  end if\nend tell"_s;
}

QString closeScript(qint64 windowID, qint64 index) {
    return tell + u" to close tab "_s + QString::number(index) + u" of window id "_s +
           QString::number(windowID);
}

QString urlsScript(qint64 windowID) {
    return tell + u" to return URL of every tab of window id "_s + QString::number(windowID);
}

QString selectScript(qint64 position) {
    return tell + u" to set current tab of window 1 to tab "_s + QString::number(position) +
           u" of window 1"_s;
}

// Characters that may end a line in script source, or that no address holds unencoded.
bool needsPercentEncoding(QChar c) {
    const char16_t code = c.unicode();
    return code < 0x20 || code == 0x7F || code == 0x85 || code == 0x2028 || code == 0x2029;
}

// The script-literal escapes, which the script language reads back as the character itself.
constexpr std::array<std::pair<char16_t, QStringView>, 5> escapes{{
    {u'\\', u"\\\\"},
    {u'"', u"\\\""},
    {u'\n', u"\\n"},
    {u'\r', u"\\r"},
    {u'\t', u"\\t"},
}};

QString percentEncoded(QChar c) {
    QString encoded;
    for (const char byte : QString(c).toUtf8())
        encoded += u'%' + QString::number(quint8(byte), 16).toUpper().rightJustified(2, u'0');
    return encoded;
}

// How `c` stands inside a script literal.
QString escaped(QChar c) {
    for (const auto& [character, escape] : escapes) {
        if (c == character)
            return escape.toString();
    }
    return needsPercentEncoding(c) ? percentEncoded(c) : QString(c);
}

// One window of the tabs answer, at position `order`; a window of the wrong shape adds nothing.
void appendWindow(const Descriptor& window, qint64 order, QList<SafariTab>& tabs) {
    const Descriptor titles = window.item(4);
    const Descriptor addresses = window.item(5);
    if (titles.count() == 0 || addresses.isMissing())
        return;
    const qint64 windowID = window.integerAt(1);
    const qint64 current = window.integerAt(2);
    const QString group = groupOf(window.stringAt(3));
    for (qsizetype i = 1; i <= titles.count(); ++i) {
        tabs.append({.windowID = windowID,
                     .windowOrder = order,
                     .index = i,
                     .title = titles.stringAt(i),
                     .url = addresses.stringAt(i),
                     .group = group,
                     .isCurrent = i == current});
    }
}

QString frontWindowName(ScriptRunner& runner) {
    const auto name = run(runner, windowNameScript);
    return name ? name->stringValue().value_or(QString()) : QString();
}

// The position (from 1) of the first front-window tab with that bare address.
std::optional<qsizetype> positionIn(const QStringList& addresses, const QString& bare) {
    for (qsizetype k = 0; k < addresses.size(); ++k) {
        if (Web::bare(addresses[k]) == bare)
            return k + 1;
    }
    return std::nullopt;
}

// Waits, within the poll bound, for the front window's name to change from `name`.
void awaitNewName(ScriptRunner& runner, const QString& name, const Pause& pause) {
    for (int poll = 0; poll < namePolls; ++poll) {
        if (frontWindowName(runner) != name)
            return;
        pause(pollInterval);
    }
}

} // namespace

void sleep(std::chrono::milliseconds duration) {
    QThread::msleep(std::max<qint64>(0, duration.count()));
}

std::optional<Descriptor> run(ScriptRunner& runner, const QString& source) {
    return runner.run(source);
}

QString literal(QStringView text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text)
        quoted += escaped(c);
    quoted += u'"';
    return quoted;
}

std::optional<std::pair<QString, QString>> pageFrom(const std::optional<Descriptor>& answer) {
    const QString url = answer ? answer->stringAt(2) : QString();
    if (url.isEmpty())
        return std::nullopt;
    const QString title = answer->stringAt(1);
    return std::pair(title.isEmpty() ? url : title, url);
}

QString groupOf(const QString& windowName) {
    const qsizetype separator = windowName.indexOf(u" \u2014 ");
    return separator < 0 ? QString() : windowName.left(separator);
}

QList<SafariTab> tabs(ScriptRunner& runner, const Workspace& workspace) {
    if (!workspace.isRunning(bundleID))
        return {};
    const auto windows = run(runner, tabsScript);
    QList<SafariTab> tabs;
    for (qsizetype p = 0; windows && p < windows->count(); ++p)
        appendWindow(windows->item(p + 1), p, tabs);
    return tabs;
}

void switchTo(ScriptRunner& runner, qint64 windowID, qint64 index) {
    run(runner, switchToScript(windowID, index));
}

void open(ScriptRunner& runner, const QString& url, bool newTab) {
    run(runner, openScript(url, newTab));
}

void close(ScriptRunner& runner, qint64 windowID, qint64 index) {
    run(runner, closeScript(windowID, index));
}

bool close(ScriptRunner& runner, qint64 windowID, const QString& url) {
    const QString wanted = Web::bare(url);
    if (wanted.isEmpty())
        return false;
    const auto answer = run(runner, urlsScript(windowID));
    if (!answer || answer->count() < 2)
        return false;
    const auto position = positionIn(answer->texts(), wanted);
    return position && run(runner, closeScript(windowID, *position)).has_value();
}

std::optional<std::pair<QString, QString>> currentPage(ScriptRunner& runner,
                                                       const Workspace& workspace) {
    if (!workspace.isRunning(bundleID))
        return std::nullopt;
    return pageFrom(run(runner, currentPageScript));
}

std::optional<TabRef> currentTab(ScriptRunner& runner, const Workspace& workspace) {
    if (!workspace.isRunning(bundleID))
        return std::nullopt;
    const auto tab = run(runner, currentTabScript);
    const QString url = tab ? tab->stringAt(3) : QString();
    if (url.isEmpty())
        return std::nullopt;
    return TabRef{.windowID = tab->integerAt(1), .index = tab->integerAt(2), .url = url};
}

QStringList urls(ScriptRunner& runner, qint64 windowID) {
    const auto answer = run(runner, urlsScript(windowID));
    return answer ? answer->texts() : QStringList();
}

QStringList frontURLs(ScriptRunner& runner) {
    const auto answer = run(runner, frontURLsScript);
    return answer ? answer->texts() : QStringList();
}

bool reveal(const QString& url, ScriptRunner& runner, Workspace& workspace, MenuBarAccess& menus,
            const Pause& pause) {
    const QString wanted = Web::bare(url);
    if (wanted.isEmpty())
        return false;
    // Starts Safari when needed and brings it forward; the launch is not waited for.
    workspace.launch(bundleID, true);
    QSet<QString> seenNames;
    for (int switches = 0; switches < groupSwitches;) {
        if (const auto position = positionIn(frontURLs(runner), wanted))
            return run(runner, selectScript(*position)).has_value();
        const QString name = frontWindowName(runner);
        if (seenNames.contains(name) || !MenuBar::press(menus, nextTabGroup, bundleID))
            return false;
        ++switches;
        seenNames.insert(name);
        awaitNewName(runner, name, pause);
    }
    return false;
}

} // namespace kivaro::Safari
