#pragma once

#include "platform/PermissionProbe.h"

namespace kivaro {

// Linux asks no permission for what the program does: browsers are driven through their
// DevTools endpoint and history files are the user's own. Every permission reads as granted.
class LinuxPermissionProbe : public PermissionProbe {
public:
    bool granted(Permission) const override { return true; }
    // Nothing to ask for.
    void request(Permission) override {}
};

} // namespace kivaro
