#pragma once

#include "browsers/NoBrowser.h"
#include "history/HistorySource.h"
#include "platform/PrivateFolder.h"

namespace kivaro {

// A browser seen only through its history, for the query tool's live mode: the tool ranks
// against this machine's history and never drives a browser, so the tab operations answer
// empty and do nothing, by design.
class HistoryBrowser final : public NoBrowser {
public:
    HistoryBrowser(HistorySource source, const PrivateFolder& snapshots);

    // The first browser whose data exists here: the Chromium family in order, then Firefox.
    static std::optional<HistorySource> firstFound();

    HistoryResult history() const override { return source_.history(snapshots_); }

private:
    HistorySource source_;
    const PrivateFolder& snapshots_;
};

} // namespace kivaro
