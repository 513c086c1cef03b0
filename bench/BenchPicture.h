#pragma once

// A realistic picture of a browser for the benchmarks: 300 tabs in six windows, `historySize`
// history entries over 90 days, 200 archived tabs and 60 menu commands, the same on every run.
#include "browsers/Command.h"
#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "history/HistoryEntry.h"

#include <QDateTime>
#include <QList>

#include <vector>

namespace kivaro::bench {

// The moment the picture's dates are relative to.
extern const QDateTime benchNow;

struct Picture {
    QList<SafariTab> tabs;
    QList<HistoryEntry> history;
    QList<ArchivedTab> archived;
    QList<Command> commands;
};

Picture picture(qsizetype historySize);

// The time below which 95 of 100 samples finish.
double percentile95(std::vector<double> samples);

} // namespace kivaro::bench
