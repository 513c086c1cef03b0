#pragma once

#include "base/EnumNames.h"

#include <QString>

namespace kivaro {

struct KeyCombo;

enum class HotkeyActionValue { newTab, currentTab, copyLink, pin, lastTab };

// The actions the user can bind to a global shortcut. Declaration order is the order of
// allCases(), which is also the order conflicts are checked and bindings are listed in.
class HotkeyAction : public EnumCase<HotkeyAction, HotkeyActionValue> {
public:
    using EnumCase::EnumCase;
    using enum HotkeyActionValue;

    QString title() const;
    KeyCombo defaultCombo() const;
    // The Boolean preference that switches this shortcut on or off: the raw value followed by
    // "Shortcut".
    QString enableFlag() const;
    // The preference key the binding is stored under: the raw value followed by "Combo".
    QString comboKey() const;

    static constexpr auto table = enumTable<TitledEnumName<Value>>({
        {newTab, u"newTab", u"Open in new tab"},
        {currentTab, u"currentTab", u"Open in current tab"},
        {copyLink, u"copyLink", u"Copy page link"},
        {pin, u"pin", u"Pin or unpin tab"},
        {lastTab, u"lastTab", u"Switch to last tab"},
    });
};

} // namespace kivaro
