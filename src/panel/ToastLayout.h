#pragma once

#include "panel/ScreenArea.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace kivaro {

// The toast bubble's sizes, place and timings, apart from the widget that shows it.
namespace ToastLayout {

// Transparent border around the bubble, room for its shadow.
inline constexpr double margin = 32;
inline constexpr double height = 40;
inline constexpr double cornerRadius = 20;
inline constexpr int maximumTextWidth = 420;
// 14 + 22 + 8 before the text (edge, icon, gap) and 26 after it.
inline constexpr double iconLeading = 14;
inline constexpr double iconSize = 22;
// The action's symbol inside the icon box, and the disc of a symbol that will be confirmed.
inline constexpr int glyphSize = 14;
inline constexpr int discSize = 18;
inline constexpr double iconGap = 8;
inline constexpr double textPadding = iconLeading + iconSize + iconGap + 26;
// How far below the top of the front window (or of the screen without one) it sits.
inline constexpr double windowInset = 96;
inline constexpr double screenInset = 24;
// Seconds.
inline constexpr double minimumDuration = 1.4;
inline constexpr double confirmDelay = 0.28;

// The label's width: its natural width, whole points, at most 420.
int textWidth(double naturalWidth);

// The bubble's width for a label of `textWidth`.
double bubbleWidth(int textWidth);

// How long the message stays: 1.4 s, or 0.8 s plus 0.05 s a character for longer texts.
double duration(const QString& text);

// The window frame (bubble plus its margin) near the top of `front` clipped to the visible
// frame of `screen`, or near the top of that visible frame without a window; nothing
// without a screen.
std::optional<QRectF> frame(const std::optional<QRectF>& front,
                            const std::optional<ScreenArea>& screen, int textWidth);

} // namespace ToastLayout

} // namespace kivaro
