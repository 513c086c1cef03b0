#include "keys/Binding.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace kivaro::Binding {

namespace {

using enum Modifier;

// Display names of the keys whose characters do not name them.
constexpr std::array<std::pair<quint32, const char16_t*>, 26> keyNames{{
    {48, u"Tab"},  {36, u"↩"},    {76, u"⌤"},   {49, u"Space"}, {51, u"⌫"},   {117, u"⌦"},
    {123, u"←"},   {124, u"→"},   {125, u"↓"},  {126, u"↑"},    {115, u"↖"},  {119, u"↘"},
    {116, u"⇞"},   {121, u"⇟"},   {122, u"F1"}, {120, u"F2"},   {99, u"F3"},  {118, u"F4"},
    {96, u"F5"},   {97, u"F6"},   {98, u"F7"},  {100, u"F8"},   {101, u"F9"}, {109, u"F10"},
    {103, u"F11"}, {111, u"F12"},
}};

const std::array<KeyCombo, 6> reservedBySystem{{
    {VirtualKey::q, command, QStringLiteral("Q")},
    {VirtualKey::w, command, QStringLiteral("W")},
    {VirtualKey::h, command, QStringLiteral("H")},
    {VirtualKey::m, command, QStringLiteral("M")},
    {VirtualKey::tab, command, QStringLiteral("Tab")},
    {VirtualKey::space, command, QStringLiteral("Space")},
}};

constexpr Modifiers requiredModifiers = command | control | option;

std::optional<QString> keyName(std::optional<quint32> keyCode) {
    for (const auto& [code, name] : keyNames) {
        if (code == keyCode)
            return QString::fromUtf16(name);
    }
    return std::nullopt;
}

bool isReserved(const KeyCombo& combo) {
    for (const KeyCombo& reserved : reservedBySystem) {
        if (reserved.sameKeys(combo))
            return true;
    }
    return false;
}

bool anyClash(const QList<KeyCombo>& ours, const QList<KeyCombo>& theirs) {
    for (const KeyCombo& mine : ours) {
        for (const KeyCombo& other : theirs) {
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

KeyCombo fromPress(const KeyCombo& pressed) {
    KeyCombo combo{pressed.keyCode, pressed.modifiers & allModifiers,
                   pressed.key.isEmpty() ? QStringLiteral("?") : pressed.key.toUpper()};
    if (auto name = keyName(pressed.keyCode))
        combo.key = *name;
    return combo;
}

std::optional<QString> problem(const KeyCombo& combo, HotkeyAction action,
                               const ActionCombos& combos) {
    if (!(combo.modifiers & requiredModifiers))
        return QStringLiteral("Use ⌘, ⌃ or ⌥");
    if (isReserved(combo))
        return QStringLiteral("Used by macOS");
    const QList<KeyCombo> ours = registrations(combo, action);
    for (HotkeyAction other : HotkeyAction::allCases()) {
        if (other == action || !combos.contains(other))
            continue;
        if (anyClash(ours, registrations(combos.value(other), other)))
            return QStringLiteral("Used by ") + other.title();
    }
    return std::nullopt;
}

bool hasMarkdownVariant(HotkeyAction action) {
    return action == HotkeyAction::copyLink;
}

QList<KeyCombo> registrations(const KeyCombo& combo, HotkeyAction action) {
    QList<KeyCombo> combos{combo};
    if (hasMarkdownVariant(action) && !(combo.modifiers & option))
        combos.append({combo.keyCode, combo.modifiers | option, combo.key});
    return combos;
}

QByteArray toJson(const KeyCombo& combo) {
    QJsonObject object{
        {QStringLiteral("modifiers"), double(combo.modifiers.toInt())},
        {QStringLiteral("key"), combo.key},
    };
    if (combo.keyCode)
        object.insert(QStringLiteral("keyCode"), double(*combo.keyCode));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<KeyCombo> fromJson(const QByteArray& data) {
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
    return KeyCombo{*keyCode, Modifiers::fromInt(*modifiers), key.toString()};
}

} // namespace kivaro::Binding
