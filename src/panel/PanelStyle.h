#pragma once

#include "settings/Appearance.h"

#include <QColor>
#include <QString>

#include <optional>

namespace kivaro {

class Preferences;

// What the appearance settings ask of the panel and the toast, read once per opening.
struct PanelStyle {
    PanelTheme theme = PanelTheme::automatic;
    double opacity = 0.6;
    QColor accent;

    bool operator==(const PanelStyle&) const = default;

    // The settings as stored now; `systemAccent` is the desktop's own highlight colour.
    static PanelStyle current(const Preferences& preferences, const QColor& systemAccent);
};

// The accessibility display settings the panel honours.
struct DisplayOptions {
    // Solid surfaces instead of translucent ones.
    bool reduceTransparency = false;
    // No pop, pulse, bounce or grow animations.
    bool reduceMotion = false;

    bool operator==(const DisplayOptions&) const = default;
};

// How strongly the window colour covers the translucent surface: 0 at the lowest opacity
// (0.6), 0.85 at full opacity, 1 when transparency is reduced.
double tintStrength(double opacity, bool reduceTransparency);

} // namespace kivaro
