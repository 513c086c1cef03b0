#include "keys/HotkeyAction.h"

#include "platform/KeyCombo.h"

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

KeyCombo HotkeyAction::defaultCombo() const {
    using enum Modifier;
    switch (value_) {
    case newTab:
        return {VirtualKey::t, command, QStringLiteral("T")};
    case currentTab:
        return {VirtualKey::l, command, QStringLiteral("L")};
    case copyLink:
        return {VirtualKey::c, shift | command, QStringLiteral("C")};
    case pin:
        return {VirtualKey::p, shift | command, QStringLiteral("P")};
    case lastTab:
        return {VirtualKey::tab, control, QStringLiteral("Tab")};
    }
    return {};
}

} // namespace kivaro
