#include "settings/Appearance.h"

#include "base/EnumNames.h"

namespace kivaro {

namespace {

constexpr EnumNames<PanelTheme, 3> themeNames{{{
    {PanelTheme::automatic, u"auto"},
    {PanelTheme::light, u"light"},
    {PanelTheme::dark, u"dark"},
}}};

constexpr EnumNames<AccentChoice, 3> accentNames{{{
    {AccentChoice::brand, u"brand"},
    {AccentChoice::system, u"system"},
    {AccentChoice::custom, u"custom"},
}}};

} // namespace

QString rawValue(PanelTheme theme) {
    return themeNames.raw(theme);
}

std::optional<PanelTheme> panelThemeFromRaw(QStringView raw) {
    return themeNames.parse(raw);
}

QString rawValue(AccentChoice choice) {
    return accentNames.raw(choice);
}

std::optional<AccentChoice> accentChoiceFromRaw(QStringView raw) {
    return accentNames.parse(raw);
}

} // namespace kivaro
