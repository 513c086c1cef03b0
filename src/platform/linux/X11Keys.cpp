#include "platform/linux/X11Keys.h"

#include <X11/X.h>
#include <X11/keysym.h>
#include <array>
#include <utility>

namespace kivaro::X11Keys {

namespace {

// Virtual key codes of the Mac's ANSI layout and the keysym at the same place of a US
// layout. Codes of keys a PC keyboard lacks are left out.
constexpr std::pair<quint32, unsigned long> keysyms[] = {
    {0, XK_a},
    {1, XK_s},
    {2, XK_d},
    {3, XK_f},
    {4, XK_h},
    {5, XK_g},
    {6, XK_z},
    {7, XK_x},
    {8, XK_c},
    {9, XK_v},
    {11, XK_b},
    {12, XK_q},
    {13, XK_w},
    {14, XK_e},
    {15, XK_r},
    {16, XK_y},
    {17, XK_t},
    {18, XK_1},
    {19, XK_2},
    {20, XK_3},
    {21, XK_4},
    {22, XK_6},
    {23, XK_5},
    {24, XK_equal},
    {25, XK_9},
    {26, XK_7},
    {27, XK_minus},
    {28, XK_8},
    {29, XK_0},
    {30, XK_bracketright},
    {31, XK_o},
    {32, XK_u},
    {33, XK_bracketleft},
    {34, XK_i},
    {35, XK_p},
    {36, XK_Return},
    {37, XK_l},
    {38, XK_j},
    {39, XK_apostrophe},
    {40, XK_k},
    {41, XK_semicolon},
    {42, XK_backslash},
    {43, XK_comma},
    {44, XK_slash},
    {45, XK_n},
    {46, XK_m},
    {47, XK_period},
    {48, XK_Tab},
    {49, XK_space},
    {50, XK_grave},
    {51, XK_BackSpace},
    {53, XK_Escape},
    {65, XK_KP_Decimal},
    {67, XK_KP_Multiply},
    {69, XK_KP_Add},
    {71, XK_Num_Lock},
    {75, XK_KP_Divide},
    {76, XK_KP_Enter},
    {78, XK_KP_Subtract},
    {81, XK_KP_Equal},
    {82, XK_KP_0},
    {83, XK_KP_1},
    {84, XK_KP_2},
    {85, XK_KP_3},
    {86, XK_KP_4},
    {87, XK_KP_5},
    {88, XK_KP_6},
    {89, XK_KP_7},
    {91, XK_KP_8},
    {92, XK_KP_9},
    {96, XK_F5},
    {97, XK_F6},
    {98, XK_F7},
    {99, XK_F3},
    {100, XK_F8},
    {101, XK_F9},
    {103, XK_F11},
    {105, XK_F13},
    {106, XK_F16},
    {107, XK_F14},
    {109, XK_F10},
    {111, XK_F12},
    {113, XK_F15},
    {114, XK_Insert},
    {115, XK_Home},
    {116, XK_Prior},
    {117, XK_Delete},
    {118, XK_F4},
    {119, XK_End},
    {120, XK_F2},
    {121, XK_Next},
    {122, XK_F1},
    {123, XK_Left},
    {124, XK_Right},
    {125, XK_Down},
    {126, XK_Up},
    {64, XK_F17},
};

// What Shift turns the keys of a US layout into.
constexpr std::pair<unsigned long, unsigned long> shiftedKeysyms[] = {
    {XK_exclam, XK_1},
    {XK_at, XK_2},
    {XK_numbersign, XK_3},
    {XK_dollar, XK_4},
    {XK_percent, XK_5},
    {XK_asciicircum, XK_6},
    {XK_ampersand, XK_7},
    {XK_asterisk, XK_8},
    {XK_parenleft, XK_9},
    {XK_parenright, XK_0},
    {XK_underscore, XK_minus},
    {XK_plus, XK_equal},
    {XK_braceleft, XK_bracketleft},
    {XK_braceright, XK_bracketright},
    {XK_bar, XK_backslash},
    {XK_colon, XK_semicolon},
    {XK_quotedbl, XK_apostrophe},
    {XK_less, XK_comma},
    {XK_greater, XK_period},
    {XK_question, XK_slash},
    {XK_asciitilde, XK_grave},
    {XK_ISO_Left_Tab, XK_Tab},
};

unsigned long unshifted(unsigned long symbol) {
    if (symbol >= XK_A && symbol <= XK_Z)
        return symbol - XK_A + XK_a;
    for (const auto& [shifted, plain] : shiftedKeysyms) {
        if (shifted == symbol)
            return plain;
    }
    return symbol;
}

// Command is Control, control is Super, option is Alt: the keys a Linux user holds for
// the Mac's shortcuts, as the bindings are shown on Linux.
constexpr std::array<std::pair<Modifier, unsigned int>, 4> modifierMasks{{
    {Modifier::command, ControlMask},
    {Modifier::control, Mod4Mask},
    {Modifier::option, Mod1Mask},
    {Modifier::shift, ShiftMask},
}};

} // namespace

unsigned long keysym(quint32 virtualKeyCode) {
    for (const auto& [code, symbol] : keysyms) {
        if (code == virtualKeyCode)
            return symbol;
    }
    return NoSymbol;
}

std::optional<quint32> virtualKeyCode(unsigned long keysym) {
    const unsigned long plain = unshifted(keysym);
    for (const auto& [code, symbol] : keysyms) {
        if (symbol == plain)
            return code;
    }
    return std::nullopt;
}

Modifiers modifiers(unsigned int x11State) {
    Modifiers result;
    for (const auto& [modifier, mask] : modifierMasks) {
        if (x11State & mask)
            result |= modifier;
    }
    return result;
}

std::optional<KeyCombo> keyPress(unsigned long keysym, unsigned int x11State) {
    const auto code = virtualKeyCode(keysym);
    if (!code)
        return std::nullopt;
    const unsigned long plain = unshifted(keysym);
    QString characters;
    if (plain >= XK_space && plain <= XK_asciitilde)
        characters = QChar(char16_t(plain)); // printable ASCII keysyms are their characters
    else if (plain >= XK_KP_0 && plain <= XK_KP_9)
        characters = QChar(char16_t(u'0' + (plain - XK_KP_0)));
    return KeyCombo{*code, modifiers(x11State), characters};
}

unsigned int modifierMask(Modifiers held) {
    unsigned int mask = 0;
    for (const auto& [modifier, x11] : modifierMasks) {
        if (held & modifier)
            mask |= x11;
    }
    return mask;
}

unsigned int significantModifiers() {
    return modifierMask(allModifiers);
}

} // namespace kivaro::X11Keys
