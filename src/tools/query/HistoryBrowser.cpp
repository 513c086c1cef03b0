#include "tools/query/HistoryBrowser.h"

#include "history/BrowserFolders.h"

#include <QFileInfo>

namespace kivaro {

HistoryBrowser::HistoryBrowser(HistorySource source, const PrivateFolder& snapshots)
    : NoBrowser(source.id, source.name), source_(std::move(source)), snapshots_(snapshots) {}

std::optional<HistorySource> HistoryBrowser::firstFound() {
    for (const auto& browser : BrowserFolders::chromiumFamily()) {
        if (QFileInfo(BrowserFolders::supportFolder() + u'/' + browser.dataFolder).isDir())
            return HistorySource::source(browser.bundleID);
    }
    return std::nullopt;
}

} // namespace kivaro
