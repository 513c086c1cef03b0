#pragma once

#include "browsers/SafariTab.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace kivaro {

// Turns what the DevTools protocol says about a browser's pages into tab records.
//
// The protocol does not say which tab a window shows, nor the order of the tab strip. The
// browser's HTTP listing ("/json/list") orders the pages by the time they were last shown, most
// recent first; so the current tab of each window is its most recently shown page, and the
// windows run front to back in the order their current tabs were shown. Within a window, tabs
// keep the order in which this program first saw them (DevToolsTabOrder): a new tab lands at
// the end, as the browser adds it, and indices stay put between listings.
namespace DevToolsTabs {

// One page target.
struct Page {
    QString targetId;
    QString title;
    QString url;

    bool operator==(const Page&) const = default;
};

// A tab as listed, with the target it stands for.
struct Listed {
    SafariTab tab;
    QString targetId;

    bool operator==(const Listed&) const = default;
};

// The page targets of a "/json/list" answer in its order (most recently shown first); other
// targets (the browser's own interface, workers) are left out. Nothing if it is not a list.
std::optional<QList<Page>> pages(const QByteArray& json);

} // namespace DevToolsTabs

// The order in which tabs were first seen, which stands in for their order in the tab strip.
class DevToolsTabOrder {
public:
    // Ranks the pages not seen before after every known one (the least recently shown
    // first), and forgets the targets that are gone.
    void update(const QList<DevToolsTabs::Page>& pages);
    // The rank of a target; unknown targets come last.
    qint64 rank(const QString& targetId) const;

private:
    QHash<QString, qint64> ranks_;
    qint64 next_ = 0;
};

namespace DevToolsTabs {

// The tabs of the pages (most recently shown first) whose window is known, `windows` mapping a
// target to its window id: windows front to back, tabs in `order`, the most recently shown
// page of each window current.
QList<Listed> arrange(const QList<Page>& pages, const QHash<QString, qint64>& windows,
                      const DevToolsTabOrder& order);

// The tabs of the front window (window order 0), in tab order, and its current tab.
struct FrontWindow {
    QList<Listed> tabs;
    qsizetype current = 0;

    const Listed& currentTab() const { return tabs[current]; }
    // The tab after (or before) the current one, wrapping around.
    const Listed& neighbour(bool next) const {
        return tabs[(current + (next ? 1 : tabs.size() - 1)) % tabs.size()];
    }
};

// Nothing when no tab is in the front window.
std::optional<FrontWindow> frontWindow(const QList<Listed>& listed);

// The tab records of a listing, and the addresses of one window's tabs in tab order.
QList<SafariTab> tabsOf(const QList<Listed>& listed);
QStringList urlsIn(const QList<Listed>& listed, qint64 windowID);

// The targets behind the (window id, index) of the tabs listed last, so that a tab handed out
// is found again later, from any thread, and nothing is found once it is gone from a listing.
class ListedTargets {
public:
    void remember(const QList<Listed>& listed);
    std::optional<QString> at(qint64 windowID, qint64 index) const;

private:
    mutable std::mutex mutex_;
    QHash<QPair<qint64, qint64>, QString> targets_;
};

} // namespace DevToolsTabs

} // namespace kivaro
