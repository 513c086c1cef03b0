#pragma once

#include "browsers/SafariTab.h"
#include "history/HistoryEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kivaro {

// A browser the program drives. Every operation blocks until the browser answers, so none
// may run on the main thread; failures come back as empty results.
class Browser {
public:
    virtual ~Browser() = default;

    virtual QString bundleID() const = 0;
    virtual QString name() const = 0;
    // Every tab of every window.
    virtual QList<SafariTab> tabs() const = 0;
    // Makes that tab current and brings its window to the front.
    virtual void switchTo(qint64 windowID, qint64 index) const = 0;
    virtual void open(const QString& url, bool newTab) const = 0;
    virtual void close(qint64 windowID, qint64 index) const = 0;
    // (title, url) of the front window's current tab.
    virtual std::optional<std::pair<QString, QString>> currentPage() const = 0;
    virtual std::optional<TabRef> currentTab() const = 0;
    // The addresses of that window's tabs, in tab order.
    virtual QStringList urls(qint64 windowID) const = 0;
    virtual HistoryResult history() const = 0;
    // Why the browser cannot be driven right now and what to do about it; empty while it can.
    virtual QString status() const { return {}; }
};

} // namespace kivaro
