#include "platform/fake/FakePermissionProbe.h"

namespace kivaro {

bool FakePermissionProbe::granted(Permission permission) const {
    std::lock_guard lock(mutex_);
    return !denied_.contains(permission);
}

void FakePermissionProbe::request(Permission permission) {
    std::lock_guard lock(mutex_);
    requests_.append(permission);
}

void FakePermissionProbe::setGranted(Permission permission, bool granted) {
    std::lock_guard lock(mutex_);
    if (granted)
        denied_.removeAll(permission);
    else
        denied_.append(permission);
}

QList<Permission> FakePermissionProbe::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace kivaro
