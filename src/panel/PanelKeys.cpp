#include "panel/PanelKeys.h"

#include <array>
#include <utility>

namespace kivaro::PanelKeys {

namespace {

using enum Modifier;

// Qt's keys and the Mac's ANSI virtual key codes: the one translation table.
constexpr std::array<std::pair<int, quint32>, 49> keyTable{{
    {Qt::Key_A, 0},          {Qt::Key_S, 1},       {Qt::Key_D, 2},        {Qt::Key_F, 3},
    {Qt::Key_H, 4},          {Qt::Key_G, 5},       {Qt::Key_Z, 6},        {Qt::Key_X, 7},
    {Qt::Key_C, 8},          {Qt::Key_V, 9},       {Qt::Key_B, 11},       {Qt::Key_Q, 12},
    {Qt::Key_W, 13},         {Qt::Key_E, 14},      {Qt::Key_R, 15},       {Qt::Key_Y, 16},
    {Qt::Key_T, 17},         {Qt::Key_1, 18},      {Qt::Key_2, 19},       {Qt::Key_3, 20},
    {Qt::Key_4, 21},         {Qt::Key_6, 22},      {Qt::Key_5, 23},       {Qt::Key_9, 25},
    {Qt::Key_7, 26},         {Qt::Key_8, 28},      {Qt::Key_0, 29},       {Qt::Key_O, 31},
    {Qt::Key_U, 32},         {Qt::Key_I, 34},      {Qt::Key_P, 35},       {Qt::Key_Return, 36},
    {Qt::Key_L, 37},         {Qt::Key_J, 38},      {Qt::Key_K, 40},       {Qt::Key_N, 45},
    {Qt::Key_M, 46},         {Qt::Key_Tab, 48},    {Qt::Key_Backtab, 48}, {Qt::Key_Space, 49},
    {Qt::Key_Backspace, 51}, {Qt::Key_Escape, 53}, {Qt::Key_Enter, 76},   {Qt::Key_Delete, 117},
    {Qt::Key_Left, 123},     {Qt::Key_Right, 124}, {Qt::Key_Down, 125},   {Qt::Key_Up, 126},
    {Qt::Key_Home, 115},
}};

constexpr std::array<std::pair<Qt::KeyboardModifier, Modifier>, 4> modifierTable{{
    {Qt::ControlModifier, command},
    {Qt::ShiftModifier, shift},
    {Qt::AltModifier, option},
    {Qt::MetaModifier, control},
}};

// The characters a key types without modifiers, for the keys whose text modifiers change.
QString plainCharacters(int qtKey, const QString& text) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return QChar(u'a' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return QChar(u'0' + (qtKey - Qt::Key_0));
    return text.toLower();
}

bool exactly(const KeyCombo& key, quint32 code, Modifiers held) {
    return key.keyCode == code && key.modifiers == held;
}

} // namespace

std::optional<quint32> virtualKey(int qtKey) {
    for (const auto& [qt, code] : keyTable) {
        if (qt == qtKey)
            return code;
    }
    return std::nullopt;
}

Modifiers modifiers(Qt::KeyboardModifiers flags) {
    Modifiers held;
    for (const auto& [qt, modifier] : modifierTable) {
        if (flags & qt)
            held |= modifier;
    }
    return held;
}

KeyCombo press(int qtKey, Qt::KeyboardModifiers flags, const QString& text) {
    return {virtualKey(qtKey), modifiers(flags), plainCharacters(qtKey, text)};
}

bool isDelete(const KeyCombo& key) {
    return key.keyCode == Code::deleteKey || key.keyCode == Code::forwardDelete;
}

std::optional<int> commandDigit(const KeyCombo& key) {
    if (key.modifiers != command || key.key.size() != 1)
        return std::nullopt;
    const int digit = key.key.front().digitValue();
    if (digit < 1 || digit > 9)
        return std::nullopt;
    return digit;
}

std::optional<Edit> editing(const KeyCombo& key) {
    if (key.modifiers == command) {
        if (key.key == u"v")
            return Edit::paste;
        if (key.key == u"c")
            return Edit::copy;
        if (key.key == u"x")
            return Edit::cut;
        if (key.key == u"a")
            return Edit::selectAll;
        if (key.key == u"z")
            return Edit::undo;
    }
    if (key.modifiers == (command | shift) && key.key == u"z")
        return Edit::redo;
    return std::nullopt;
}

std::optional<FieldCommand> fieldCommand(const KeyCombo& key) {
    if (exactly(key, Code::up, {}))
        return FieldCommand::moveUp;
    if (exactly(key, Code::down, {}))
        return FieldCommand::moveDown;
    if (exactly(key, Code::returnKey, {}) || exactly(key, Code::enter, {}))
        return FieldCommand::insertNewline;
    if (exactly(key, Code::escape, {}))
        return FieldCommand::cancel;
    if (key.keyCode == Code::tab && !(key.modifiers & ~Modifiers(shift)))
        return FieldCommand::insertTab;
    return std::nullopt;
}

HintPlan hintFor(Modifiers held) {
    if ((held & command) && (held & (option | shift)))
        return {HintPlan::Kind::remove, 400};
    if (held == command)
        return {HintPlan::Kind::numbers, 200};
    return {};
}

} // namespace kivaro::PanelKeys
