#include "keys/HotkeyAction.h"

#include "keys/HotkeyCombo.h"

namespace kivaro {

QString HotkeyAction::title() const {
    return QString::fromUtf16(row().title);
}

QString HotkeyAction::enableFlag() const {
    return rawValue() + QStringLiteral("Shortcut");
}

QString HotkeyAction::comboKey() const {
    return rawValue() + QStringLiteral("Combo");
}

HotkeyCombo HotkeyAction::defaultCombo() const {
    using namespace HotkeyModifier;
    switch (value_) {
    case newTab:
        return {17, command, QStringLiteral("T")};
    case currentTab:
        return {37, command, QStringLiteral("L")};
    case copyLink:
        return {8, shift | command, QStringLiteral("C")};
    case pin:
        return {35, shift | command, QStringLiteral("P")};
    case lastTab:
        return {48, control, QStringLiteral("Tab")};
    }
    return {};
}

} // namespace kivaro
