#include "store/Store.h"

#include <QTimer>

namespace kivaro {

// TEMPORARY until the archiver lands
void Store::startArchive() {
    archiveTimer_ = new QTimer(this);
    connect(archiveTimer_, &QTimer::timeout, this, &Store::archivePass);
    archiveTimer_->start(archiveTickMs);
}

void Store::seeTabs(const QList<SafariTab>&) {}
void Store::restoreArchived(const QString&) {}
void Store::archivePass() {}

} // namespace kivaro
