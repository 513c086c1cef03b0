#include "app/DemoContent.h"

#include "base/Web.h"

#include <QDateTime>

namespace kivaro {

namespace {

SafariTab tab(qint64 window, qint64 index, const char* title, const char* url,
              bool current = false) {
    return {.windowID = 100 + window,
            .windowOrder = window,
            .index = index,
            .title = QString::fromUtf8(title),
            .url = QString::fromUtf8(url),
            .isCurrent = current};
}

HistoryEntry visited(const char* title, const char* url, qint64 visits, qint64 hoursAgo) {
    return {QString::fromUtf8(url), QString::fromUtf8(title), visits,
            QDateTime::currentDateTimeUtc().addSecs(-hoursAgo * 3600)};
}

} // namespace

DemoData demoContent() {
    DemoData demo;
    demo.tabs = {
        tab(0, 1, "Inbox – Mail", "https://mail.example.com/inbox"),
        tab(0, 2, "Pull requests · kivaro/kivaro", "https://github.com/kivaro/kivaro/pulls", true),
        tab(0, 3, "QString Class | Qt Core 6", "https://doc.qt.io/qt-6/qstring.html"),
        tab(1, 1, "Hacker News", "https://news.ycombinator.com/", true),
        tab(1, 2, "The Rust Programming Language", "https://doc.rust-lang.org/book/"),
        tab(1, 3, "Lisbon – Wikipedia", "https://en.wikipedia.org/wiki/Lisbon"),
    };
    demo.history = {
        visited("GitHub", "https://github.com/", 412, 2),
        visited("Issues · kivaro/kivaro", "https://github.com/kivaro/kivaro/issues", 57, 20),
        visited("YouTube", "https://www.youtube.com/", 230, 5),
        visited("Weather forecast – Lisbon", "https://weather.example.com/lisbon", 12, 30),
        visited("cppreference.com", "https://en.cppreference.com/w/", 88, 50),
        visited("Debian – The universal operating system", "https://www.debian.org/", 9, 120),
    };
    for (const HistoryEntry& entry : std::as_const(demo.history))
        demo.visits[Web::host(entry.url)] += entry.visits;
    demo.suggestions = {
        {QStringLiteral("git"), {QStringLiteral("github"), QStringLiteral("git rebase")}},
        {QStringLiteral("lis"), {QStringLiteral("lisbon"), QStringLiteral("lisbon weather")}},
    };
    return demo;
}

} // namespace kivaro
