#include "panel/PanelStyle.h"

#include "panel/Colors.h"
#include "settings/Preferences.h"

#include <algorithm>

namespace kivaro {

PanelStyle PanelStyle::current(const Preferences& preferences, const QColor& systemAccent) {
    return {preferences.panelTheme(), preferences.panelOpacity(),
            Colors::accent(preferences.accent(), preferences.customAccent(), systemAccent)};
}

double tintStrength(double opacity, bool reduceTransparency) {
    if (reduceTransparency)
        return 1;
    const double clamped =
        std::clamp(opacity, Preferences::minimumOpacity, Preferences::maximumOpacity);
    return (clamped - Preferences::minimumOpacity) / 0.4 * 0.85;
}

} // namespace kivaro
