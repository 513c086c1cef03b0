#include "keys/KeyCaps.h"

#include <array>
#include <utility>

namespace kivaro::KeyCaps {

namespace {

// Linux modifier names in the order desktop environments print them.
constexpr std::array<std::pair<quint32, const char16_t*>, 4> linuxModifiers{{
    {HotkeyModifier::command, u"Ctrl"},
    {HotkeyModifier::control, u"Super"},
    {HotkeyModifier::option, u"Alt"},
    {HotkeyModifier::shift, u"Shift"},
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

QStringList linuxCaps(quint32 modifiers, const QString& key) {
    QStringList names;
    for (const auto& [mask, name] : linuxModifiers) {
        if (modifiers & mask)
            names.append(QString::fromUtf16(name));
    }
    names.append(linuxKeyName(key));
    return names;
}

} // namespace

Style nativeStyle() {
#ifdef Q_OS_MACOS
    return Style::glyphs;
#else
    return Style::linuxNames;
#endif
}

QStringList caps(quint32 modifiers, const QString& key, Style style) {
    if (style == Style::linuxNames)
        return linuxCaps(modifiers, key);
    return HotkeyCombo{0, modifiers, key}.glyphs();
}

QStringList of(const HotkeyCombo& combo) {
    return caps(combo.modifiers, combo.key, nativeStyle());
}

QString text(const HotkeyCombo& combo, Style style) {
    const QStringList parts = caps(combo.modifiers, combo.key, style);
    return parts.join(style == Style::linuxNames ? QStringLiteral("+") : QString());
}

} // namespace kivaro::KeyCaps
