#include "settings/Appearance.h"

#include "base/EnumNames.h"

namespace kivaro {

namespace {

constexpr auto themeNames = enumTable<EnumName<PanelTheme>>({
    {PanelTheme::automatic, u"auto"},
    {PanelTheme::light, u"light"},
    {PanelTheme::dark, u"dark"},
});

constexpr auto accentNames = enumTable<EnumName<AccentChoice>>({
    {AccentChoice::brand, u"brand"},
    {AccentChoice::system, u"system"},
    {AccentChoice::custom, u"custom"},
});

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
