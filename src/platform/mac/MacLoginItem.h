#pragma once

#include "platform/LoginItem.h"

namespace kivaro {

// The application itself as a login item, through SMAppService.mainAppService (macOS 13).
class MacLoginItem final : public LoginItem {
public:
    bool enabled() const override;
    bool setEnabled(bool on) override;
};

} // namespace kivaro
