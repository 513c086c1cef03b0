#include "store/OffMainThread.h"

#include <QCoreApplication>
#include <QThread>

namespace kivaro {

void requireOffMainThread(const char* call) {
    const QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() == application->thread())
        qFatal("Kivaro: %s called on the main thread", call);
}

OffMainBrowser::OffMainBrowser(std::shared_ptr<const Browser> browser)
    : browser_(std::move(browser)) {}

std::shared_ptr<const Browser> OffMainBrowser::wrap(std::shared_ptr<const Browser> browser) {
    if (dynamic_cast<const OffMainBrowser*>(browser.get()))
        return browser;
    return std::make_shared<OffMainBrowser>(std::move(browser));
}

QList<SafariTab> OffMainBrowser::tabs() const {
    requireOffMainThread("Browser::tabs");
    return browser_->tabs();
}

void OffMainBrowser::switchTo(qint64 windowID, qint64 index) const {
    requireOffMainThread("Browser::switchTo");
    browser_->switchTo(windowID, index);
}

void OffMainBrowser::open(const QString& url, bool newTab) const {
    requireOffMainThread("Browser::open");
    browser_->open(url, newTab);
}

void OffMainBrowser::close(qint64 windowID, qint64 index) const {
    requireOffMainThread("Browser::close");
    browser_->close(windowID, index);
}

std::optional<std::pair<QString, QString>> OffMainBrowser::currentPage() const {
    requireOffMainThread("Browser::currentPage");
    return browser_->currentPage();
}

std::optional<TabRef> OffMainBrowser::currentTab() const {
    requireOffMainThread("Browser::currentTab");
    return browser_->currentTab();
}

QStringList OffMainBrowser::urls(qint64 windowID) const {
    requireOffMainThread("Browser::urls");
    return browser_->urls(windowID);
}

HistoryResult OffMainBrowser::history() const {
    requireOffMainThread("Browser::history");
    return browser_->history();
}

} // namespace kivaro
