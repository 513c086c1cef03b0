#pragma once

#include "panel/PanelStyle.h"
#include "settings/Appearance.h"

#include <QColor>
#include <QPalette>

namespace kivaro {

// The colours the panel and the toast draw with in each theme.
namespace PanelPalette {

// The application's palette for `automatic` (follow the desktop), or a fixed light or dark
// one.
QPalette forTheme(PanelTheme theme);

// Whether the palette is a dark one (light text on dark surfaces).
bool isDark(const QPalette& palette);

// The desktop's own highlight colour: the accent choice "system".
QColor systemAccent();

// Secondary text and symbols: the text colour, half transparent.
QColor secondaryLabel(const QPalette& palette);

// Red for destructive actions, a little lighter on dark surfaces.
QColor systemRed(const QPalette& palette);

// The grey of the disc behind an action symbol that will be confirmed.
QColor systemGrey();

// The desktop's accessibility display settings as far as Qt knows them: motion is reduced
// when the desktop turns interface effects off. Qt has no reduce-transparency setting, so
// transparency stays on; the settings' opacity slider makes the panel solid instead.
DisplayOptions displayOptions();

} // namespace PanelPalette

} // namespace kivaro
