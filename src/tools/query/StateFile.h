#pragma once

#include "browsers/Command.h"
#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "history/HistoryEntry.h"
#include "search/Ranking.h"
#include "search/SiteSearch.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kivaro {

// A picture of the store, as the query tool reads it from a JSON file.
struct QueryState {
    QList<SafariTab> tabs;
    QList<HistoryEntry> history;
    QSet<QString> hidden;
    QList<ArchivedTab> archived;
    QList<Command> commands;
    QList<Command> devTools;
    bool devAvailable = false;
    // Suggestions for any query (key "") or for one lower-cased query.
    QHash<QString, QStringList> suggestions;
    QDateTime now;

    QStringList suggestionsFor(const QString& query) const;
};

namespace StateFile {

// The state, or a one-line description of what is wrong with the text.
std::variant<QueryState, QString> parse(const QByteArray& json);
std::variant<QueryState, QString> read(const QString& path);

QJsonObject toJson(const Action& action);
std::variant<Action, QString> actionFromJson(const QJsonObject& object);
QJsonObject toJson(const Command& command);
QJsonObject toJson(const Row& row);
QJsonObject toJson(const Ranking& ranking);
// The site of site mode as the panel shows it: name, host, colour (null when none) and the
// search template.
QJsonObject toJson(const SiteSearch& site);

} // namespace StateFile

} // namespace kivaro
