#include "settings/ArchiveInterval.h"

namespace kivaro {

std::optional<qint64> ArchiveInterval::seconds() const {
    if (value_ == off)
        return std::nullopt;
    return qint64(rawValue()) * 3600;
}

} // namespace kivaro
