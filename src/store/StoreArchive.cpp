#include "base/Web.h"
#include "platform/Toast.h"
#include "settings/Preferences.h"
#include "store/Archiver.h"
#include "store/OffMainThread.h"
#include "store/Store.h"

#include <QTimer>

#include <algorithm>

namespace kivaro {

void Store::startArchive() {
    archiveTimer_ = new QTimer(this); // a child: it stops with the store
    connect(archiveTimer_, &QTimer::timeout, this, &Store::archivePass);
    archiveTimer_->start(archiveTickMs);
}

void Store::seeTabs(const QList<SafariTab>& live, const QDateTime& at) {
    requireOffMainThread("Archiver::see");
    archiver_->see(live, at);
}

void Store::archivePass() {
    if (demo || !archiver_)
        return;
    const QDateTime at = now();
    const ArchiveInterval interval = adapters_.preferences.archiveAfter();
    queue_->async([this, at, interval] {
        requireOffMainThread("Archiver::pass");
        const int count = archiver_->pass(at, interval);
        const QList<ArchivedTab> list = archiver_->state().archived;
        onMain([this, count, list] {
            archived = list;
            emit changed();
            if (count >= 1)
                adapters_.toast.show(Archiver::announcement(count), QStringLiteral("archivebox"));
        });
    });
}

void Store::restoreArchived(const QString& url) {
    requireOffMainThread("Archiver::restore");
    const QString page = Web::bare(url);
    const QList<ArchivedTab>& list = archiver_->state().archived;
    if (std::none_of(list.cbegin(), list.cend(),
                     [&](const ArchivedTab& tab) { return Web::bare(tab.url) == page; }))
        return;
    archiver_->restore(url);
    onMain([this, rest = archiver_->state().archived] {
        archived = rest;
        emit changed();
    });
}

} // namespace kivaro
