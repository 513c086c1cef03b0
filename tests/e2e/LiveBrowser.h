#pragma once

#include "browsers/Browser.h"
#include "browsers/DevToolsEndpoint.h"
#include "support/LocalHttpServer.h"
#include "support/WaitUntil.h"

#include <QMetaObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

#include <memory>

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
    using namespace Qt::StringLiterals;
    chromium.setStandardOutputFile(QProcess::nullDevice()); // a full pipe would stall it
    chromium.setStandardErrorFile(QProcess::nullDevice());
    const QStringList window =
        headed ? QStringList{u"--window-position=0,0"_s, u"--window-size=1000,700"_s}
               : QStringList{u"--headless=new"_s};
    return chromium.launch(u"chromium"_s,
                           window + QStringList{u"--no-sandbox"_s, u"--disable-gpu"_s,
                                                u"--no-first-run"_s,
                                                u"--disable-background-networking"_s,
                                                u"--disable-component-update"_s,
                                                u"--disable-sync"_s, u"--remote-debugging-port=0"_s,
                                                u"--user-data-dir="_s + dataFolder, firstPage}) &&
           waitUntil([&] { return DevToolsEndpoint::read(dataFolder).has_value(); }) &&
           chromium.state() == QProcess::Running;
}

// The test server for a browser under test, on a thread of its own so that it answers while
// the test blocks in a browser call. "/NAME" is a page titled "Page NAME".
class PageServer {
public:
    PageServer() {
        context_.moveToThread(&thread_);
        thread_.start();
        onServerThread([this] {
            server_ = std::make_unique<LocalHttpServer>([](const QByteArray& target) {
                const QByteArray name = target.mid(1);
                return HttpReply{.body = "<!doctype html><html><head><title>Page " + name +
                                         "</title></head><body>" + name + "</body></html>",
                                 .contentType = "text/html; charset=utf-8"};
            });
            if (server_->isListening())
                origin_ = server_->origin().toString();
        });
    }
    ~PageServer() {
        onServerThread([this] { server_.reset(); });
        thread_.quit();
        thread_.wait();
    }

    bool listening() const { return !origin_.isEmpty(); }
    // "http://127.0.0.1:PORT/NAME"
    QString url(const QString& name) const { return origin_ + u'/' + name; }
    static QString title(const QString& name) { return QStringLiteral("Page ") + name; }

private:
    void onServerThread(const std::function<void()>& work) {
        QMetaObject::invokeMethod(&context_, work, Qt::BlockingQueuedConnection);
    }

    QThread thread_;
    QObject context_; // lives on thread_
    std::unique_ptr<LocalHttpServer> server_;
    QString origin_;
};

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
