#pragma once

#include "settings/Appearance.h"

#include <QColor>
#include <QString>
#include <QStringView>

#include <optional>

namespace kivaro {

// The colours the panel's drawing shares: the brand colour, contrast against white text,
// the selection fill and hexadecimal colour strings. Pure maths, no widgets.
namespace Colors {

// The program's own blue, sRGB (31, 53, 199).
QColor brand();

// WCAG relative luminance of the colour in sRGB; 0 for an invalid colour.
double luminance(const QColor& color);

// Contrast of white text on the colour: 1.05 / (luminance + 0.05).
double contrastWithWhite(const QColor& color);

// The minimum contrast white text needs on a fill.
inline constexpr double readableContrast = 4.5;

// The colour darkened just enough for white text on it to be readable: the colour itself
// when it already is, else the first of its brightness lowered in steps of 0.02 (never below
// 0.62 of the original) that is; the colour itself when none is.
QColor selectionFill(const QColor& color);

// Text on a fill: white when it is readable there, else near-black.
QColor textOn(const QColor& fill);

// "#RRGGBB" or "RRGGBB", either letter case; anything else (3 or 8 digits, junk) is nothing.
std::optional<QColor> fromHex(QStringView text);

// "#RRGGBB" in upper case, channels clamped to 1.
QString hex(const QColor& color);

// The accent colour the settings choose: brand, the system's, or the custom hex colour
// (the brand colour when that is missing or does not parse).
QColor accent(AccentChoice choice, const std::optional<QString>& custom, const QColor& system);

// The colour at another alpha.
QColor withAlpha(const QColor& color, double alpha);

} // namespace Colors

} // namespace kivaro
