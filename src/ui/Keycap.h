#pragma once

#include <QColor>
#include <QStringList>

#include <optional>

class QWidget;

namespace kivaro {

// Key caps: the small rounded key drawings of the panel (row key hints, ⌘-number hints, the
// Tab hint, the menu and bar hints).
namespace Keycap {

// One cap: 20 high, at least 20 wide, the text centred with 5 on either side.
QWidget* make(const QString& text, QWidget* parent = nullptr);
// Caps side by side, spacing 3; one accessibility element reading `spoken(keys)`.
QWidget* row(const QStringList& keys, QWidget* parent = nullptr);
// The keys read aloud: glyphs by their names ("⇧⌘P" caps → "Shift Command P").
QString spoken(const QStringList& keys);
// Colours a row of caps for a selected row in `on` (its selection fill), or plainly.
void style(QWidget* row, const std::optional<QColor>& on);

} // namespace Keycap

} // namespace kivaro
