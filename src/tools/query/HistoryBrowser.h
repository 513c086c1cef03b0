#pragma once

#include "browsers/Browser.h"
#include "history/HistorySource.h"
#include "platform/PrivateFolder.h"

namespace kivaro {

// A browser seen only through its history, for the query tool's live mode: the tool ranks
// against this machine's history and never drives a browser, so the tab operations answer
// empty and do nothing, by design.
class HistoryBrowser final : public Browser {
public:
    HistoryBrowser(HistorySource source, const PrivateFolder& snapshots);

    // The first Chromium-family browser whose data folder exists here.
    static std::optional<HistorySource> firstFound();

    QString bundleID() const override { return source_.id; }
    QString name() const override { return source_.name; }
    QList<SafariTab> tabs() const override { return {}; }
    void switchTo(qint64, qint64) const override {}
    void open(const QString&, bool) const override {}
    void close(qint64, qint64) const override {}
    std::optional<std::pair<QString, QString>> currentPage() const override { return std::nullopt; }
    std::optional<TabRef> currentTab() const override { return std::nullopt; }
    QStringList urls(qint64) const override { return {}; }
    HistoryResult history() const override { return source_.history(snapshots_); }

private:
    HistorySource source_;
    const PrivateFolder& snapshots_;
};

} // namespace kivaro
