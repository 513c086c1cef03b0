#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace kivaro {

// One visited address.
struct HistoryEntry {
    QString url; // exactly as the browser stored it
    QString title;
    qint64 visits = 0;
    QDateTime lastVisit;

    bool operator==(const HistoryEntry&) const = default;
};

// A history read: the entries and a short status text for the settings.
struct HistoryResult {
    QList<HistoryEntry> entries;
    QString status;

    bool operator==(const HistoryResult&) const = default;
};

} // namespace kivaro
