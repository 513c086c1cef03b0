#pragma once

#include <QDateTime>
#include <QString>

namespace kivaro {

// A tab that auto-archive closed, kept searchable.
struct ArchivedTab {
    QString title;
    QString url;
    QDateTime closedAt;

    bool operator==(const ArchivedTab&) const = default;
};

} // namespace kivaro
