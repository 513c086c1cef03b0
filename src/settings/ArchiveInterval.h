#pragma once

#include "base/EnumNames.h"

#include <QtGlobal>

#include <optional>

namespace kivaro {

enum class ArchiveIntervalValue { off, twelveHours, day, threeDays, week };

// How long a tab may go unlooked-at before auto-archive closes it. The raw value is the
// number of hours, as the preferences store it; `off` is 0.
class ArchiveInterval : public EnumCase<ArchiveInterval, ArchiveIntervalValue> {
public:
    using EnumCase::EnumCase;
    using enum ArchiveIntervalValue;

    // The limit in seconds; nothing when archiving is off.
    std::optional<qint64> seconds() const;

    static constexpr auto table = enumTable<EnumName<Value, int>>({
        {off, 0},
        {twelveHours, 12},
        {day, 24},
        {threeDays, 72},
        {week, 168},
    });
};

} // namespace kivaro
