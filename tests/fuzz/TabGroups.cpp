// Safari's tab database over a mutated file: the stored tabs and the pinned addresses.

#include "browsers/TabGroups.h"

#include "FuzzSupport.h"
#include "platform/linux/PosixPrivateFolder.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const PosixPrivateFolder snapshots(fuzz::scratchFolder(), QStringLiteral("copies"));
    const QString db = fuzz::scratchFile(QStringLiteral("SafariTabs.db"), fuzz::bytes(data, size));
    const QList<SafariTab> live{
        {.windowID = 1, .index = 1, .url = QStringLiteral("https://a.example/")}};
    for (const SafariTab& tab : TabGroups::load(live, db, snapshots))
        require(tab.url.startsWith(u"http") && tab.windowID == -1, "stored tabs are web pages");
    TabGroups::pinnedURLs(db, snapshots);
    return 0;
}
