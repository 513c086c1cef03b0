#pragma once

#include "platform/PrivateFolder.h"

namespace kivaro::testing {

// A private folder that cannot be had, as when the runtime folder belongs to someone else:
// no database copy can be made.
class RefusingFolder final : public PrivateFolder {
public:
    std::optional<QString> freshFolder(const QString&) const override { return std::nullopt; }
    std::optional<QString> ownFolder() const override { return std::nullopt; }
    bool copyInto(const QString&, const QString&, const QString&) const override { return false; }
};

} // namespace kivaro::testing
