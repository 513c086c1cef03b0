#pragma once

#include "platform/LoginItem.h"

namespace kivaro {

// A login-item service held in memory; `refuse` makes every change fail.
class FakeLoginItem : public LoginItem {
public:
    bool enabled() const override { return enabled_; }
    bool setEnabled(bool on) override;

    bool refuse = false;
    int changes = 0; // attempts to change the state

private:
    bool enabled_ = false;
};

} // namespace kivaro
