#pragma once

#include "browsers/Browser.h"

#include <memory>

namespace kivaro {

// Stops the program when a blocking browser conversation is attempted on the main thread,
// where it would freeze every window. Checked in every build: the test is one comparison.
void requireOffMainThread(const char* call);

// A browser whose every blocking call first checks that it runs off the main thread. The
// store drives browsers only through this wrapper.
class OffMainBrowser final : public Browser {
public:
    explicit OffMainBrowser(std::shared_ptr<const Browser> browser);

    // `browser` wrapped, unless it already is.
    static std::shared_ptr<const Browser> wrap(std::shared_ptr<const Browser> browser);

    QString bundleID() const override { return browser_->bundleID(); }
    QString name() const override { return browser_->name(); }
    QList<SafariTab> tabs() const override;
    void switchTo(qint64 windowID, qint64 index) const override;
    void open(const QString& url, bool newTab) const override;
    void close(qint64 windowID, qint64 index) const override;
    std::optional<std::pair<QString, QString>> currentPage() const override;
    std::optional<TabRef> currentTab() const override;
    QStringList urls(qint64 windowID) const override;
    HistoryResult history() const override;
    QString status() const override { return browser_->status(); }

private:
    std::shared_ptr<const Browser> browser_;
};

} // namespace kivaro
