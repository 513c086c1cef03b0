#pragma once

#include "browsers/SafariTab.h"

#include <QList>

#include <optional>

namespace kivaro {

// The recently used tabs, most recent first, for the "last tab" shortcut. Lives on the
// store's queue; it holds no lock of its own.
class TabTrail {
public:
    static constexpr qsizetype capacity = 12;

    // Records `ref` as the tab now in front. The same tab (window and position) seen again
    // is updated in place, since it may have navigated; otherwise older entries of that
    // window with the same page go, so the trail never lists one tab twice.
    void note(const TabRef& ref);

    // The tab used before the current one.
    std::optional<TabRef> previous() const;
    // Forgets the previous tab (it no longer exists), so the next look goes one further back.
    void dropPrevious();

    void clear() { entries_.clear(); }
    const QList<TabRef>& entries() const { return entries_; }

private:
    QList<TabRef> entries_;
};

} // namespace kivaro
