#pragma once

#include "platform/PermissionProbe.h"
#include "platform/PermissionRequests.h"

namespace kivaro {

// The three permissions as macOS keeps them: Apple events to Safari, Accessibility, and
// full disk access, seen through whether Safari's own folder can be listed.
class MacPermissionProbe final : public PermissionProbe {
public:
    // `workspace` opens the settings panes and starts Safari; it must outlive this object.
    explicit MacPermissionProbe(Workspace& workspace);

    bool granted(Permission permission) const override;
    void request(Permission permission) override;

private:
    PermissionRequests requests_;
};

} // namespace kivaro
