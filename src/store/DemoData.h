#pragma once

#include "browsers/Command.h"
#include "browsers/SafariTab.h"
#include "history/HistoryEntry.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace kivaro {

// The fixed sample content of the welcome window's demonstration: what its store shows in
// place of a live browser.
struct DemoData {
    QList<SafariTab> tabs;
    QList<HistoryEntry> history;
    QList<Command> devTools;
    QHash<QString, qint64> visits;           // visit count per host, as Store::hostVisits
    QHash<QString, QStringList> suggestions; // per lower-cased typed text

    // The canned suggestions for what was typed; empty when there are none.
    QStringList suggestionsFor(const QString& text) const {
        return suggestions.value(text.toLower());
    }

    bool operator==(const DemoData&) const = default;
};

} // namespace kivaro
