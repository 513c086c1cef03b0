#pragma once

#include "browsers/Browser.h"
#include "support/WaitUntil.h"

#include <QStringList>

namespace kivaro::testing {

// What a real browser shows, read through its driver, for tests that wait for it to catch up.
inline QStringList titles(const Browser& browser) {
    QStringList titles;
    for (const SafariTab& tab : browser.tabs())
        titles.append(tab.title);
    return titles;
}
// Page loads finish in their own time: waits (bounded) for the titles to show.
inline bool waitForTitles(const Browser& browser, const QStringList& wanted) {
    return waitUntil([&] { return titles(browser) == wanted; });
}
inline std::optional<SafariTab> tabTitled(const Browser& browser, const QString& wanted) {
    for (const SafariTab& tab : browser.tabs())
        if (tab.title == wanted)
            return tab;
    return std::nullopt;
}
inline bool currentTitleIs(const Browser& browser, const QString& wanted) {
    const auto page = browser.currentPage();
    return page && page->first == wanted;
}

} // namespace kivaro::testing
