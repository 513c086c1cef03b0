#pragma once

#include "browsers/Browser.h"
#include "browsers/DevToolsEndpoint.h"
#include "support/WaitUntil.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace kivaro::testing {

// A program started for a test and killed with it: the homes and profiles it writes to go with
// the test, so no orderly exit is needed.
class LiveProcess : public QProcess {
public:
    ~LiveProcess() override {
        kill();
        waitForFinished();
    }

    // Starts `program` (a name on the PATH, or a path) with `arguments`; false when it is not
    // there or does not start.
    bool launch(const QString& program, const QStringList& arguments) {
        start(QStandardPaths::findExecutable(program), arguments);
        return waitForStarted();
    }
};

// Starts Chromium with remote debugging on, its user data in `dataFolder`, showing `firstPage`:
// headless, or in a window on the DISPLAY of its environment. True once its DevToolsActivePort
// file reads whole (it may be caught half written).
inline bool startChromium(LiveProcess& chromium, const QString& dataFolder,
                          const QString& firstPage, bool headed = false) {
    chromium.setStandardOutputFile(QProcess::nullDevice()); // a full pipe would stall it
    chromium.setStandardErrorFile(QProcess::nullDevice());
    const QStringList window = headed ? QStringList{QStringLiteral("--window-position=0,0"),
                                                    QStringLiteral("--window-size=1000,700")}
                                      : QStringList{QStringLiteral("--headless=new")};
    return chromium.launch(
               QStringLiteral("chromium"),
               window + QStringList{QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                                    QStringLiteral("--no-first-run"),
                                    QStringLiteral("--disable-background-networking"),
                                    QStringLiteral("--disable-component-update"),
                                    QStringLiteral("--disable-sync"),
                                    QStringLiteral("--remote-debugging-port=0"),
                                    QStringLiteral("--user-data-dir=") + dataFolder, firstPage}) &&
           waitUntil([&] { return DevToolsEndpoint::read(dataFolder).has_value(); }) &&
           chromium.state() == QProcess::Running;
}

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
