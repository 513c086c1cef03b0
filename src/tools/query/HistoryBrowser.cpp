#include "tools/query/HistoryBrowser.h"

namespace kivaro {

HistoryBrowser::HistoryBrowser(HistorySource source, const PrivateFolder& snapshots)
    : NoBrowser(source.id, source.name), source_(std::move(source)), snapshots_(snapshots) {}

std::optional<HistorySource> HistoryBrowser::firstFound() {
    const QList<HistorySource> present = HistorySource::available();
    if (present.isEmpty())
        return std::nullopt;
    return present.first();
}

} // namespace kivaro
