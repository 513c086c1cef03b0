#include "keys/HotkeyCombo.h"

#include "platform/KeyCombo.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace kivaro {

namespace {

constexpr std::array<std::pair<quint32, const char16_t*>, 4> modifierGlyphs{{
    {HotkeyModifier::control, u"⌃"},
    {HotkeyModifier::option, u"⌥"},
    {HotkeyModifier::shift, u"⇧"},
    {HotkeyModifier::command, u"⌘"},
}};

constexpr std::array<std::pair<quint64, quint32>, 4> eventModifiers{{
    {EventModifier::control, HotkeyModifier::control},
    {EventModifier::option, HotkeyModifier::option},
    {EventModifier::shift, HotkeyModifier::shift},
    {EventModifier::command, HotkeyModifier::command},
}};

constexpr std::array<std::pair<quint32, const char16_t*>, 26> keyNames{{
    {48, u"Tab"},  {36, u"↩"},    {76, u"⌤"},   {49, u"Space"}, {51, u"⌫"},   {117, u"⌦"},
    {123, u"←"},   {124, u"→"},   {125, u"↓"},  {126, u"↑"},    {115, u"↖"},  {119, u"↘"},
    {116, u"⇞"},   {121, u"⇟"},   {122, u"F1"}, {120, u"F2"},   {99, u"F3"},  {118, u"F4"},
    {96, u"F5"},   {97, u"F6"},   {98, u"F7"},  {100, u"F8"},   {101, u"F9"}, {109, u"F10"},
    {103, u"F11"}, {111, u"F12"},
}};

const std::array<HotkeyCombo, 6> reservedBySystem{{
    {12, HotkeyModifier::command, QStringLiteral("Q")},
    {13, HotkeyModifier::command, QStringLiteral("W")},
    {4, HotkeyModifier::command, QStringLiteral("H")},
    {46, HotkeyModifier::command, QStringLiteral("M")},
    {48, HotkeyModifier::command, QStringLiteral("Tab")},
    {49, HotkeyModifier::command, QStringLiteral("Space")},
}};

constexpr quint32 requiredModifiers =
    HotkeyModifier::command | HotkeyModifier::control | HotkeyModifier::option;

std::optional<QString> keyName(quint32 keyCode) {
    for (const auto& [code, name] : keyNames) {
        if (code == keyCode)
            return QString::fromUtf16(name);
    }
    return std::nullopt;
}

bool isReserved(const HotkeyCombo& combo) {
    for (const HotkeyCombo& reserved : reservedBySystem) {
        if (reserved.sameKeys(combo))
            return true;
    }
    return false;
}

bool anyClash(const QList<HotkeyCombo>& ours, const QList<HotkeyCombo>& theirs) {
    for (const HotkeyCombo& mine : ours) {
        for (const HotkeyCombo& other : theirs) {
            if (mine.sameKeys(other))
                return true;
        }
    }
    return false;
}

// A JSON number that is a whole number in the unsigned 32-bit range.
std::optional<quint32> unsigned32(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < 0 || number != std::floor(number) ||
        number > double(std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return quint32(number);
}

} // namespace

HotkeyCombo HotkeyCombo::fromEvent(const KeyEvent& event) {
    HotkeyCombo combo;
    for (const auto& [flag, mask] : eventModifiers) {
        if (event.modifierFlags & flag)
            combo.modifiers |= mask;
    }
    combo.keyCode = event.keyCode;
    combo.key = event.characters.isEmpty() ? QStringLiteral("?") : event.characters.toUpper();
    if (auto name = keyName(event.keyCode))
        combo.key = *name;
    return combo;
}

QStringList HotkeyCombo::glyphs() const {
    QStringList caps;
    for (const auto& [mask, glyph] : modifierGlyphs) {
        if (modifiers & mask)
            caps.append(QString::fromUtf16(glyph));
    }
    caps.append(key);
    return caps;
}

QList<HotkeyCombo> HotkeyCombo::registrations(HotkeyAction action) const {
    QList<HotkeyCombo> combos{*this};
    if (action == HotkeyAction::copyLink && !(modifiers & HotkeyModifier::option))
        combos.append({keyCode, modifiers | HotkeyModifier::option, key});
    return combos;
}

std::optional<QString> HotkeyCombo::problem(HotkeyAction action, const HotkeyCombos& combos) const {
    if (!(modifiers & requiredModifiers))
        return QStringLiteral("Use ⌘, ⌃ or ⌥");
    if (isReserved(*this))
        return QStringLiteral("Used by macOS");
    const QList<HotkeyCombo> ours = registrations(action);
    for (HotkeyAction other : HotkeyAction::allCases()) {
        if (other == action || !combos.contains(other))
            continue;
        if (anyClash(ours, combos.value(other).registrations(other)))
            return QStringLiteral("Used by ") + other.title();
    }
    return std::nullopt;
}

QByteArray HotkeyCombo::toJson() const {
    const QJsonObject object{
        {QStringLiteral("keyCode"), double(keyCode)},
        {QStringLiteral("modifiers"), double(modifiers)},
        {QStringLiteral("key"), key},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<HotkeyCombo> HotkeyCombo::fromJson(const QByteArray& data) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const auto keyCode = unsigned32(object.value(u"keyCode"));
    const auto modifiers = unsigned32(object.value(u"modifiers"));
    const QJsonValue key = object.value(u"key");
    if (!keyCode || !modifiers || !key.isString())
        return std::nullopt;
    return HotkeyCombo{*keyCode, *modifiers, key.toString()};
}

} // namespace kivaro
