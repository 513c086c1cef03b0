#pragma once

#include "platform/WindowList.h"

namespace kivaro {

// The window server's list of on-screen windows (CGWindowListCopyWindowInfo), front to back,
// in global coordinates: points with the origin at the top left of the primary display.
class MacWindowList final : public WindowList {
public:
    QList<Window> windows() const override;
};

} // namespace kivaro
