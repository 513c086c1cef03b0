#pragma once

#include "browsers/Action.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// One result line of the panel.
struct Row {
    // What a row stands for; the raw value of each case is its name.
    enum class Kind { tab, history, open, search, command, mode, archived };

    Kind kind = Kind::open;
    QString host;     // site host without "www.", for the site icon
    QString url;      // the page the row refers to
    QString symbol;   // system symbol name drawn as the icon
    QStringList keys; // key caps at the right of the row
    QString title;
    QString detail;
    QString label; // what Return does, shown on the selected row
    Action action;

    static QString rawValue(Kind kind);

    bool operator==(const Row&) const = default;
};

// A row with its score while it travels through the ranker; higher is better.
struct ScoredRow {
    Row row;
    double score = 0;
};

} // namespace kivaro
