#include "base/Web.h"
#include "browsers/MenuBar.h"
#include "browsers/SafariSide.h"
#include "platform/PermissionProbe.h"
#include "platform/Toast.h"
#include "platform/Workspace.h"
#include "store/Clipboard.h"
#include "store/OffMainThread.h"
#include "store/Store.h"

#include <QThread>

namespace kivaro {

namespace {

const QString warning = QStringLiteral("exclamationmark.circle");
const QString allowForPins = QStringLiteral("Allow Accessibility to pin tabs");

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
// Clang before 17 does not deduce an aggregate's arguments without this guide.
template <class... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

// The lower-cased last title of a menu path; empty for an empty path.
QString lastTitle(const QStringList& path) {
    return path.isEmpty() ? QString() : path.constLast().toLower();
}

} // namespace

void Store::toast(const QString& text, const QString& symbol) {
    onMain([this, text, symbol] { adapters_.toast.show(text, symbol); });
}

void Store::needAccessibility(const QString& message) {
    onMain([this, message] {
        adapters_.permissions.request(Permission::accessibility);
        adapters_.toast.show(message, QStringLiteral("lock.shield"));
    });
}

bool Store::accessibilityOnQueue(const QString& message) {
    if (adapters_.permissions.granted(Permission::accessibility))
        return true;
    needAccessibility(message);
    return false;
}

void Store::perform(const Action& action, OpenMode mode) {
    if (demo)
        return;
    const BrowserRef copy = browser_;
    queue_->async([this, copy, action, mode] {
        performOnQueue(copy, action, mode);
        rereadTabs(copy);
    });
}

void Store::performOnQueue(const BrowserRef& copy, const Action& action, OpenMode mode) {
    std::visit(Overloaded{
                   [&](const Action::SwitchTab& tab) { copy->switchTo(tab.windowID, tab.index); },
                   [&](const Action::RevealTab& tab) { revealOnQueue(copy, tab.url); },
                   [&](const Action::Open& page) {
                       copy->open(page.url, mode == OpenMode::newTab);
                       if (archiver_ && isSafari(*copy))
                           restoreArchived(page.url);
                   },
                   [&](const Action::Menu& menu) { menuOnQueue(copy, menu.path); },
                   [&](const Action::CopyLink& link) { copyLinkOnQueue(copy, link.markdown); },
                   [](const Action::DevMode&) {}, // the panel's own mode
               },
               action.payload);
}

void Store::revealOnQueue(const BrowserRef& copy, const QString& url) {
    if (!adapters_.permissions.granted(Permission::accessibility)) {
        copy->open(url, true);
        needAccessibility(
            QStringLiteral("Opened in a new tab. Allow Accessibility in Settings to switch Tab "
                           "Groups."));
        return;
    }
    if (reveal(url))
        return;
    copy->open(url, true);
    toast(QStringLiteral("Tab not found. Opened in a new tab."),
          QStringLiteral("arrow.up.right.square"));
}

bool Store::reveal(const QString& url) {
    requireOffMainThread("Safari::reveal");
    return adapters_.safari && adapters_.safari->reveal(url);
}

void Store::menuOnQueue(const BrowserRef& copy, const QStringList& path) {
    if (!accessibilityOnQueue(QStringLiteral("Allow Accessibility to run menu commands")))
        return;
    requireOffMainThread("MenuBar::press");
    const QString id = copy->bundleID();
    if (adapters_.workspace.isRunning(id))
        adapters_.workspace.launch(id, true);
    if (MenuBar::press(adapters_.menuBar, path, id))
        return;
    const QString name = path.isEmpty() ? QStringLiteral("This command") : path.constLast();
    toast(name + QStringLiteral(" is not available here"), warning);
}

void Store::copyLinkOnQueue(const BrowserRef& copy, bool markdown) {
    const auto page = copy->currentPage();
    onMain([this, page, markdown] {
        if (!page) {
            adapters_.workspace.beep();
            return;
        }
        Clipboard::copyLink(adapters_.pasteboard, adapters_.toast, page->second, page->first,
                            markdown);
    });
}

void Store::rereadTabs(const BrowserRef& copy) {
    const QList<SafariTab> live = copy->tabs();
    onMain([this, copy, live] {
        if (isCurrent(copy))
            tabs = live;
    });
}

void Store::closeTab(qint64 windowID, qint64 index, Done done) {
    const BrowserRef copy = browser_;
    queue_->async([this, copy, windowID, index, done] {
        copy->close(windowID, index);
        const QList<SafariTab> live = copy->tabs();
        onMain([this, copy, live, done] {
            // Another browser's tabs must not land in this browser's list.
            if (isCurrent(copy))
                tabs = live;
            if (done)
                done();
        });
    });
}

void Store::togglePin(qint64 windowID, qint64 index) {
    const BrowserRef copy = browser_;
    queue_->async([this, copy, windowID, index] {
        if (!accessibilityOnQueue(allowForPins))
            return;
        copy->switchTo(windowID, index);
        QThread::msleep(pinSettleMs);
        pressPin(copy);
    });
}

void Store::togglePinCurrent() {
    const BrowserRef copy = browser_;
    queue_->async([this, copy] {
        if (accessibilityOnQueue(allowForPins))
            pressPin(copy);
    });
}

void Store::pressPin(const BrowserRef& copy) {
    requireOffMainThread("MenuBar::walk");
    const QString id = copy->bundleID();
    const bool safari = isSafari(*copy);
    for (const MenuBar::Item& item : MenuBar::walk(adapters_.menuBar, id)) {
        if (safari && !item.enabled)
            continue;
        const QString last = lastTitle(item.path);
        if (last != u"pin tab" && last != u"unpin tab")
            continue;
        if (!MenuBar::press(adapters_.menuBar, item.path, id))
            break;
        const bool pinned = last == u"pin tab";
        if (!safari)
            toast(QStringLiteral("Pin toggled in ") + copy->name(), QStringLiteral("pin"));
        else if (pinned)
            toast(QStringLiteral("Tab pinned"), QStringLiteral("pin"));
        else
            toast(QStringLiteral("Tab unpinned"), QStringLiteral("pin.slash"));
        return;
    }
    toast(copy->name() + QStringLiteral(" has no Pin Tab command"), warning);
}

void Store::switchToLastTab() {
    const BrowserRef copy = browser_;
    queue_->async([this, copy] { switchBackOnQueue(copy); });
}

void Store::switchBackOnQueue(const BrowserRef& copy) {
    noteFront(*copy);
    const std::optional<TabRef> target = trail_.previous();
    if (!target)
        return;
    const QString page = Web::bare(target->url);
    const QStringList urls = copy->urls(target->windowID);
    for (qsizetype position = 0; position < urls.size(); ++position) {
        if (Web::bare(urls.at(position)) == page) {
            copy->switchTo(target->windowID, position + 1); // tab positions count from 1
            noteFront(*copy);
            return;
        }
    }
    if (withSafariSide(*copy) && adapters_.permissions.granted(Permission::accessibility) &&
        reveal(target->url)) {
        noteFront(*copy);
        return;
    }
    trail_.dropPrevious();
}

void Store::copyCurrentPage(bool markdown) {
    const BrowserRef copy = browser_;
    queue_->async([this, copy, markdown] { copyLinkOnQueue(copy, markdown); });
}

} // namespace kivaro
