// The history readers over a mutated database file: Safari's and Chromium's queries.

#include "history/History.h"

#include "FuzzSupport.h"
#include "history/ChromiumHistory.h"
#include "platform/linux/PosixPrivateFolder.h"

using namespace kivaro;
using fuzz::require;

namespace {

void checkEntries(const std::optional<QList<HistoryEntry>>& entries) {
    if (!entries)
        return;
    require(entries->size() <= 5000, "at most 5000 addresses");
    for (const HistoryEntry& entry : *entries)
        require(!entry.url.isEmpty() && entry.lastVisit.isValid(), "an entry has an address");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const PosixPrivateFolder snapshots(fuzz::scratchFolder(), QStringLiteral("copies"));
    const QString db = fuzz::scratchFile(QStringLiteral("History"), fuzz::bytes(data, size));
    checkEntries(History::read(db));
    checkEntries(ChromiumHistory::read(db, QStringLiteral("fuzz"), snapshots));
    return 0;
}
