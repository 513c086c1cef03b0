#include "panel/KeyPress.h"

#include "keys/KeyCaps.h"

#include <QRegularExpression>

#include <array>
#include <utility>

namespace kivaro::KeyPress {

namespace {

using enum Modifier;

// Qt keys and the Mac's ANSI virtual key codes, with the key's name where it is not its
// character.
struct QtKey {
    int key;
    quint32 code;
    const char16_t* name;
};

constexpr std::array<QtKey, 36> namedKeys{{
    {Qt::Key_Tab, 48, u"Tab"},   {Qt::Key_Backtab, 48, u"Tab"}, {Qt::Key_Return, 36, u"↩"},
    {Qt::Key_Enter, 76, u"⌤"},   {Qt::Key_Space, 49, u"Space"}, {Qt::Key_Backspace, 51, u"⌫"},
    {Qt::Key_Delete, 117, u"⌦"}, {Qt::Key_Left, 123, u"←"},     {Qt::Key_Right, 124, u"→"},
    {Qt::Key_Down, 125, u"↓"},   {Qt::Key_Up, 126, u"↑"},       {Qt::Key_Home, 115, u"↖"},
    {Qt::Key_End, 119, u"↘"},    {Qt::Key_PageUp, 116, u"⇞"},   {Qt::Key_PageDown, 121, u"⇟"},
    {Qt::Key_F1, 122, u"F1"},    {Qt::Key_F2, 120, u"F2"},      {Qt::Key_F3, 99, u"F3"},
    {Qt::Key_F4, 118, u"F4"},    {Qt::Key_F5, 96, u"F5"},       {Qt::Key_F6, 97, u"F6"},
    {Qt::Key_F7, 98, u"F7"},     {Qt::Key_F8, 100, u"F8"},      {Qt::Key_F9, 101, u"F9"},
    {Qt::Key_F10, 109, u"F10"},  {Qt::Key_F11, 103, u"F11"},    {Qt::Key_F12, 111, u"F12"},
    {Qt::Key_Escape, 53, u"⎋"},  {Qt::Key_Comma, 43, u","},     {Qt::Key_Period, 47, u"."},
    {Qt::Key_Slash, 44, u"/"},   {Qt::Key_Semicolon, 41, u";"}, {Qt::Key_Apostrophe, 39, u"'"},
    {Qt::Key_Minus, 27, u"-"},   {Qt::Key_Equal, 24, u"="},     {Qt::Key_QuoteLeft, 50, u"`"},
}};

// A to Z, then 0 to 9.
constexpr std::array<quint32, 26> letterCodes{0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                              45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
constexpr std::array<quint32, 10> digitCodes{29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

constexpr std::array<std::pair<char16_t, Modifier>, 4> glyphs{{
    {u'⌃', control},
    {u'⌥', option},
    {u'⇧', shift},
    {u'⌘', command},
}};

Modifiers modifiersOf(QStringView text) {
    Modifiers modifiers;
    for (QChar c : text) {
        for (const auto& [glyph, modifier] : glyphs) {
            if (c == QChar(glyph))
                modifiers |= modifier;
        }
    }
    return modifiers;
}

bool isLinux() {
    return KeyCaps::nativeStyle() == KeyCaps::Style::linuxNames;
}

} // namespace

std::optional<KeyCombo> fromQt(int key, Qt::KeyboardModifiers held) {
    Modifiers modifiers;
    if (held & Qt::ControlModifier)
        modifiers |= command;
    if (held & Qt::MetaModifier)
        modifiers |= control;
    if (held & Qt::AltModifier)
        modifiers |= option;
    if (held & Qt::ShiftModifier)
        modifiers |= shift;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyCombo{letterCodes[std::size_t(key - Qt::Key_A)], modifiers,
                        QString(QChar(u'a' + (key - Qt::Key_A)))};
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return KeyCombo{digitCodes[std::size_t(key - Qt::Key_0)], modifiers,
                        QString(QChar(u'0' + (key - Qt::Key_0)))};
    for (const QtKey& named : namedKeys) {
        if (named.key == key)
            return KeyCombo{named.code, modifiers, QString::fromUtf16(named.name)};
    }
    return std::nullopt;
}

QString nativeText(const QString& text) {
    if (!isLinux())
        return text;
    static const QRegularExpression combo(
        QStringLiteral("([⌃⌥⇧⌘]+)(Tab|Space|Return|1–9|[A-Z0-9↩⌫])?"));
    QString result;
    qsizetype from = 0;
    for (auto it = combo.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += text.mid(from, match.capturedStart() - from);
        const QStringList caps = KeyCaps::caps(modifiersOf(match.capturedView(1)),
                                               match.captured(2), KeyCaps::Style::linuxNames);
        result += caps.filter(QRegularExpression(QStringLiteral("."))).join(u'+');
        from = match.capturedEnd();
    }
    return result + text.mid(from);
}

QString nativeMessage(const QString& problem) {
    if (isLinux() && problem == u"Used by macOS")
        return QStringLiteral("Used by the desktop");
    return nativeText(problem);
}

QStringList nativeCaps(const QStringList& glyphCaps) {
    if (!isLinux() || glyphCaps.isEmpty())
        return glyphCaps;
    QStringList modifierCaps = glyphCaps;
    const QString key = modifierCaps.takeLast();
    return KeyCaps::caps(modifiersOf(modifierCaps.join(QString())), key,
                         KeyCaps::Style::linuxNames);
}

} // namespace kivaro::KeyPress
