#include "platform/WindowInfo.h"

#include <cmath>
#include <limits>

namespace kivaro {

namespace {

bool sound(const QRectF& bounds) {
    return std::isfinite(bounds.x()) && std::isfinite(bounds.y()) &&
           std::isfinite(bounds.width()) && std::isfinite(bounds.height()) && bounds.width() >= 0 &&
           bounds.height() >= 0;
}

bool fitsInt(qint64 value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

} // namespace

std::optional<WindowList::Window> WindowInfo::window() const {
    if (!pid || *pid <= 0 || !layer || !fitsInt(*layer) || !bounds || !sound(*bounds))
        return std::nullopt;
    return WindowList::Window{.pid = *pid, .layer = int(*layer), .bounds = *bounds};
}

} // namespace kivaro
