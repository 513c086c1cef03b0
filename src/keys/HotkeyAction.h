#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kivaro {

struct KeyCombo;

// The actions the user can bind to a global shortcut. Declaration order is the order of
// allCases(), which is also the order conflicts are checked and bindings are listed in.
class HotkeyAction {
public:
    enum Value { newTab, currentTab, copyLink, pin, lastTab };

    constexpr HotkeyAction(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    static QList<HotkeyAction> allCases();
    static std::optional<HotkeyAction> fromRaw(QStringView raw);

    QString rawValue() const;
    QString title() const;
    KeyCombo defaultCombo() const;
    // The Boolean preference that switches this shortcut on or off.
    QString enableFlag() const;
    // The preference key the binding is stored under: the raw value followed by "Combo".
    QString comboKey() const;

private:
    Value value_;
};

} // namespace kivaro
