#include "keys/KeyCaps.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kivaro::KeyCaps {

namespace {

using enum Modifier;

using ModifierNames = std::array<std::pair<Modifier, const char16_t*>, 4>;

// The Mac's glyphs in the Mac's order.
constexpr ModifierNames modifierGlyphs{{
    {control, u"⌃"},
    {option, u"⌥"},
    {shift, u"⇧"},
    {command, u"⌘"},
}};

// Linux modifier names in the order desktop environments print them.
constexpr ModifierNames linuxModifiers{{
    {command, u"Ctrl"},
    {control, u"Super"},
    {option, u"Alt"},
    {shift, u"Shift"},
}};

// Keys whose stored name is a Mac glyph.
constexpr std::array<std::pair<const char16_t*, const char16_t*>, 12> linuxKeyNames{{
    {u"↩", u"Return"},
    {u"⌤", u"Enter"},
    {u"⌫", u"Backspace"},
    {u"⌦", u"Delete"},
    {u"←", u"Left"},
    {u"→", u"Right"},
    {u"↓", u"Down"},
    {u"↑", u"Up"},
    {u"↖", u"Home"},
    {u"↘", u"End"},
    {u"⇞", u"Page Up"},
    {u"⇟", u"Page Down"},
}};

QString linuxKeyName(const QString& key) {
    for (const auto& [glyph, name] : linuxKeyNames) {
        if (key == QStringView(glyph))
            return QString::fromUtf16(name);
    }
    return key;
}

QStringList named(const ModifierNames& names, Modifiers modifiers, const QString& key) {
    QStringList caps;
    for (const auto& [modifier, name] : names) {
        if (modifiers & modifier)
            caps.append(QString::fromUtf16(name));
    }
    caps.append(key);
    return caps;
}

} // namespace

Style nativeStyle() {
#ifdef Q_OS_MACOS
    return Style::glyphs;
#else
    return Style::linuxNames;
#endif
}

QStringList caps(Modifiers modifiers, const QString& key, Style style) {
    if (style == Style::linuxNames)
        return named(linuxModifiers, modifiers, linuxKeyName(key));
    return named(modifierGlyphs, modifiers, key);
}

QStringList of(const KeyCombo& combo) {
    return caps(combo.modifiers, combo.key, nativeStyle());
}

QStringList native(const QStringList& glyphCaps) {
    if (nativeStyle() == Style::glyphs || glyphCaps.isEmpty())
        return glyphCaps;
    Modifiers held;
    for (const QString& cap : glyphCaps.first(glyphCaps.size() - 1)) {
        const auto* named = std::find_if(modifierGlyphs.begin(), modifierGlyphs.end(),
                                         [&](const auto& entry) { return cap == entry.second; });
        if (named == modifierGlyphs.end())
            return glyphCaps;
        held |= named->first;
    }
    return caps(held, glyphCaps.last(), Style::linuxNames);
}

QString text(const KeyCombo& combo, Style style) {
    const QStringList parts = caps(combo.modifiers, combo.key, style);
    return parts.join(style == Style::linuxNames ? QStringLiteral("+") : QString());
}

} // namespace kivaro::KeyCaps
