#pragma once

#include <QList>
#include <QtGlobal>

#include <optional>

namespace kivaro {

// How long a tab may go unlooked-at before auto-archive closes it. The raw value is the
// number of hours, as the preferences store it; `off` is 0.
class ArchiveInterval {
public:
    enum Value { off = 0, twelveHours = 12, day = 24, threeDays = 72, week = 168 };

    constexpr ArchiveInterval(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    static QList<ArchiveInterval> allCases();
    // Nothing for a number of hours that is not one of the cases.
    static std::optional<ArchiveInterval> fromRaw(qint64 hours);

    constexpr int rawValue() const { return int(value_); }
    // The limit in seconds; nothing when archiving is off.
    std::optional<qint64> seconds() const;

private:
    Value value_;
};

} // namespace kivaro
