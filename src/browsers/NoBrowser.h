#pragma once

#include "browsers/Browser.h"

namespace kivaro {

// Stands in where no browser can be driven: the demonstration, or a machine with none of the
// supported browsers. It answers nothing and does nothing; a subclass may still give history.
class NoBrowser : public Browser {
public:
    NoBrowser(QString bundleID, QString name, QString status = {})
        : bundleID_(std::move(bundleID)), name_(std::move(name)), status_(std::move(status)) {}

    QString bundleID() const override { return bundleID_; }
    QString name() const override { return name_; }
    QList<SafariTab> tabs() const override { return {}; }
    void switchTo(qint64, qint64) const override {}
    void open(const QString&, bool) const override {}
    void close(qint64, qint64) const override {}
    std::optional<std::pair<QString, QString>> currentPage() const override { return std::nullopt; }
    std::optional<TabRef> currentTab() const override { return std::nullopt; }
    QStringList urls(qint64) const override { return {}; }
    HistoryResult history() const override { return {{}, QStringLiteral("no history found")}; }
    QString status() const override { return status_; }

private:
    QString bundleID_;
    QString name_;
    QString status_;
};

} // namespace kivaro
