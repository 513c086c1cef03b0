#pragma once

#include "search/Ranker.h"

#include <QDateTime>

namespace kivaro::testing {

using namespace Qt::StringLiterals;

inline const QDateTime testNow = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);

inline SafariTab tab(const QString& title, const QString& url, qint64 windowID = 1,
                     qint64 index = 1, qint64 windowOrder = 0, const QString& group = {}) {
    return SafariTab{.windowID = windowID,
                     .windowOrder = windowOrder,
                     .index = index,
                     .title = title,
                     .url = url,
                     .group = group};
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
                   .symbol = u"gearshape"_s,
                   .keywords = keywords,
                   .menu = menu,
                   .action = Action::menu({menu, title}),
                   .core = core};
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

// An action in a few words: "open URL", "switchTab 4 2", "menu View › Reload Page".
inline QString rendered(const Action& action) {
    QString text = action.typeName();
    if (const auto* open = action.as<Action::Open>())
        text += u' ' + open->url;
    else if (const auto* tab = action.as<Action::SwitchTab>())
        text += u" %1 %2"_s.arg(tab->windowID).arg(tab->index);
    else if (const auto* reveal = action.as<Action::RevealTab>())
        text += u' ' + reveal->url;
    else if (const auto* menu = action.as<Action::Menu>())
        text += u' ' + menu->path.join(u" › "_s);
    else if (const auto* copy = action.as<Action::CopyLink>())
        text += copy->markdown ? u" markdown"_s : QString();
    return text;
}

// A row as one line: its kind, each field that is not empty as name=value, then its action.
inline QString rendered(const Row& row) {
    QString text = Row::rawValue(row.kind);
    const std::pair<const char*, QString> fields[] = {
        {"host", row.host},     {"url", row.url},
        {"symbol", row.symbol}, {"keys", row.keys.join(u' ')},
        {"title", row.title},   {"detail", row.detail},
        {"label", row.label}};
    for (const auto& [name, value] : fields) {
        if (!value.isEmpty())
            text += u' ' + QString::fromLatin1(name) + u'=' + value;
    }
    return text + u" → "_s + rendered(row.action);
}

// The rows as one line, each as its kind and title: "open github.com|tab Docs|history Std".
inline QString listed(const QList<Row>& rows) {
    QStringList list;
    for (const Row& row : rows)
        list.append(Row::rawValue(row.kind) + u' ' + row.title);
    return list.join(u'|');
}

// The kinds of the rows as one line: "open tab history".
inline QString kinds(const QList<Row>& rows) {
    QStringList list;
    for (const Row& row : rows)
        list.append(Row::rawValue(row.kind));
    return list.join(u' ');
}

} // namespace kivaro::testing
