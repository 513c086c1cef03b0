#pragma once

#include "platform/KeyCombo.h"

#include <QStringList>

namespace kivaro {

// The one place that decides how a binding is shown. Bindings are stored with the Mac's
// glyphs everywhere; on Linux the same binding is shown with the names a Linux user
// presses: command is Ctrl, control is Super, option is Alt (see the X11 hot-key adapter).
namespace KeyCaps {

enum class Style { glyphs, linuxNames };

// The style of the platform being built.
Style nativeStyle();

// Key caps of `modifiers` and `key` in the given style: glyphs in ⌃⌥⇧⌘ order, or Linux names
// in Ctrl, Super, Alt, Shift order; then the key.
QStringList caps(Modifiers modifiers, const QString& key, Style style);

// Caps written with the Mac's glyphs (a menu item's keys, "⌥", "⌘", "C") in the platform's
// style; caps that are not modifiers followed by one key stay as they are.
QStringList native(const QStringList& glyphCaps);

// Key caps of a binding in the platform's style.
QStringList of(const KeyCombo& combo);

// The binding as one line of text: glyphs run together ("⇧⌘C"), names joined with "+"
// ("Ctrl+Shift+C").
QString text(const KeyCombo& combo, Style style);

} // namespace KeyCaps

} // namespace kivaro
