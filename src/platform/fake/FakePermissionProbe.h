#pragma once

#include "platform/PermissionProbe.h"

#include <QList>

#include <mutex>

namespace kivaro {

// Permissions as the test sets them; every request is recorded. Safe to use from the store's
// queue while the test reads it.
class FakePermissionProbe : public PermissionProbe {
public:
    bool granted(Permission permission) const override;
    void request(Permission permission) override;

    void setGranted(Permission permission, bool granted);
    QList<Permission> requests() const;

private:
    mutable std::mutex mutex_;
    QList<Permission> denied_;
    QList<Permission> requests_;
};

} // namespace kivaro
