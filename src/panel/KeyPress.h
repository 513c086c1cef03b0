#pragma once

#include "platform/KeyCombo.h"

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

namespace kivaro {

// Key presses as a window sees them, and the shortcut texts in the platform's own words.
namespace KeyPress {

// The press of a Qt key with the held modifiers, as a virtual key code, Modifier flags and the
// key's text without modifiers. Qt already names the Mac's Command key Control and its Control
// key Meta, so Control is command and Meta is control everywhere. Nothing for modifier keys
// and for keys without a virtual key code.
std::optional<KeyCombo> fromQt(int key, Qt::KeyboardModifiers modifiers);

// A text that names keys by the Mac's glyphs ("Press ⌘T", "⇧⌘C", "Use ⌘, ⌃ or ⌥"), in the
// platform's words: on Linux "Press Ctrl+T", "Ctrl+Shift+C", "Use Ctrl, Super or Alt".
QString nativeText(const QString& text);

// A recording problem in the platform's words: its keys as nativeText, and on Linux the
// system's keys are the desktop's.
QString nativeMessage(const QString& problem);

// Glyph caps in the platform's style (see KeyCaps), for the fixed keys of the panel.
QStringList nativeCaps(const QStringList& glyphCaps);

} // namespace KeyPress

} // namespace kivaro
