#include "settings/ArchiveInterval.h"

namespace kivaro {

QList<ArchiveInterval> ArchiveInterval::allCases() {
    return {off, twelveHours, day, threeDays, week};
}

std::optional<ArchiveInterval> ArchiveInterval::fromRaw(qint64 hours) {
    for (ArchiveInterval interval : allCases()) {
        if (interval.rawValue() == hours)
            return interval;
    }
    return std::nullopt;
}

std::optional<qint64> ArchiveInterval::seconds() const {
    if (value_ == off)
        return std::nullopt;
    return qint64(value_) * 3600;
}

} // namespace kivaro
