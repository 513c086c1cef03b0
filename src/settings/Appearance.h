#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kivaro {

// The panel's appearance setting. "auto" is a C++ keyword, so that case is `automatic`;
// its stored raw value is still "auto".
enum class PanelTheme { automatic, light, dark };

QString rawValue(PanelTheme theme);
std::optional<PanelTheme> panelThemeFromRaw(QStringView raw);

// Where the panel's accent colour comes from.
enum class AccentChoice { brand, system, custom };

QString rawValue(AccentChoice choice);
std::optional<AccentChoice> accentChoiceFromRaw(QStringView raw);

} // namespace kivaro
