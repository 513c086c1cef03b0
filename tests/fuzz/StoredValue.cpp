// The stored preference values: the input is the settings file (QSettings' INI format, which
// also carries serialised values as "@Variant(...)"), read through every typed reader and
// every preference.

#include "FuzzSupport.h"
#include "settings/Preferences.h"
#include "settings/Storage.h"

#include <cmath>

using namespace kivaro;
using fuzz::require;

namespace {

void readEveryForm(const QVariant& value) {
    for (const StoredValue::Form form : {StoredValue::Form::typed, StoredValue::Form::text}) {
        StoredValue::boolean(value, form);
        if (const auto number = StoredValue::number(value, form))
            require(std::isfinite(*number), "a stored number is finite");
        StoredValue::integer(value, form);
        StoredValue::strings(value, form);
    }
    StoredValue::string(value);
    StoredValue::data(value);
}

void readEveryPreference(const Preferences& preferences) {
    preferences.showMenuBarIcon();
    preferences.panelTheme();
    preferences.accent();
    preferences.customAccent();
    const double opacity = preferences.panelOpacity();
    require(opacity >= Preferences::minimumOpacity && opacity <= Preferences::maximumOpacity,
            "the opacity stays in range", QString::number(opacity));
    preferences.resultLayout();
    preferences.sectionOrder();
    preferences.searchEngine();
    preferences.searchSuggestions();
    preferences.otherBrowsers();
    preferences.historySources();
    preferences.archiveAfter();
    preferences.welcomed();
    for (const HotkeyAction action : HotkeyAction::allCases()) {
        preferences.shortcutEnabled(action);
        preferences.combo(action);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray ini = fuzz::bytes(data, size);
    if (Storage::holdsSerialisedValue(ini))
        return 0; // such a file is set aside before QSettings reads it
    const QString file = fuzz::scratchFile(QStringLiteral("settings.ini"), ini);
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    for (const QString& key : settings->allKeys())
        readEveryForm(settings->value(key));
    const Preferences preferences(std::move(settings));
    readEveryPreference(preferences);
    return 0;
}
