#pragma once

#include "platform/WindowList.h"

#include <QRectF>

#include <optional>

namespace kivaro {

// One entry of the window server's list as the adapter read it, each field only when the
// entry had it in the expected type.
struct WindowInfo {
    std::optional<qint64> pid;
    std::optional<qint64> layer;
    std::optional<QRectF> bounds;

    // The window it describes; nothing for an entry without an owner, a layer or sound bounds
    // (finite, not negative).
    std::optional<WindowList::Window> window() const;
};

} // namespace kivaro
