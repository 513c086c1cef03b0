#pragma once

#include "search/Ranker.h"

#include <QDateTime>

namespace kivaro::testing {

inline const QDateTime testNow = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);

inline SafariTab tab(const QString& title, const QString& url, qint64 windowID = 1,
                     qint64 index = 1, qint64 windowOrder = 0, const QString& group = {}) {
    return SafariTab{.windowID = windowID,
                     .windowOrder = windowOrder,
                     .index = index,
                     .title = title,
                     .url = url,
                     .group = group,
                     .isCurrent = false};
}

inline HistoryEntry visit(const QString& url, const QString& title, qint64 visits = 1,
                          double daysAgo = 1) {
    return HistoryEntry{.url = url,
                        .title = title,
                        .visits = visits,
                        .lastVisit = testNow.addMSecs(qint64(-daysAgo * 86400 * 1000))};
}

inline Command command(const QString& title, const QString& keywords, const QString& menu,
                       bool core = false) {
    return Command{.title = title,
                   .symbol = QStringLiteral("gearshape"),
                   .keywords = keywords,
                   .menu = menu,
                   .action = Action::menu({menu, title}),
                   .keys = {},
                   .core = core,
                   .combo = std::nullopt};
}

inline Prepared<SafariTab> openTabs(QList<SafariTab> tabs) {
    return Prepared<SafariTab>(std::move(tabs));
}

inline PreparedHistory pastVisits(QList<HistoryEntry> entries) {
    return PreparedHistory(std::move(entries));
}

// A ranker with a fixed clock and engine, so results do not depend on the machine.
inline Ranker ranker() {
    Ranker ranker(SearchEngine::google);
    ranker.now = testNow;
    return ranker;
}

inline QStringList titles(const QList<Row>& rows) {
    QStringList list;
    for (const Row& row : rows)
        list.append(row.title);
    return list;
}

// The kinds of the rows as one line: "open tab history".
inline QString kinds(const QList<Row>& rows) {
    QStringList list;
    for (const Row& row : rows)
        list.append(Row::rawValue(row.kind));
    return list.join(u' ');
}

} // namespace kivaro::testing
