#pragma once

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

// The grey of the disc behind an action symbol that will be confirmed.
QColor systemGrey();

} // namespace PanelPalette

} // namespace kivaro
