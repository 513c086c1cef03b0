#include "keys/HotkeyAction.h"

#include "base/EnumNames.h"
#include "platform/KeyCombo.h"

namespace kivaro {

namespace {

constexpr EnumNames<HotkeyAction::Value, 5> rawNames{{{
    {HotkeyAction::newTab, u"newTab"},
    {HotkeyAction::currentTab, u"currentTab"},
    {HotkeyAction::copyLink, u"copyLink"},
    {HotkeyAction::pin, u"pin"},
    {HotkeyAction::lastTab, u"lastTab"},
}}};

constexpr EnumNames<HotkeyAction::Value, 5> titles{{{
    {HotkeyAction::newTab, u"Open in new tab"},
    {HotkeyAction::currentTab, u"Open in current tab"},
    {HotkeyAction::copyLink, u"Copy page link"},
    {HotkeyAction::pin, u"Pin or unpin tab"},
    {HotkeyAction::lastTab, u"Switch to last tab"},
}}};

constexpr EnumNames<HotkeyAction::Value, 5> enableFlags{{{
    {HotkeyAction::newTab, u"newTabShortcut"},
    {HotkeyAction::currentTab, u"currentTabShortcut"},
    {HotkeyAction::copyLink, u"copyLinkShortcut"},
    {HotkeyAction::pin, u"pinShortcut"},
    {HotkeyAction::lastTab, u"lastTabShortcut"},
}}};

} // namespace

QList<HotkeyAction> HotkeyAction::allCases() {
    return {newTab, currentTab, copyLink, pin, lastTab};
}

std::optional<HotkeyAction> HotkeyAction::fromRaw(QStringView raw) {
    if (auto value = rawNames.parse(raw))
        return HotkeyAction(*value);
    return std::nullopt;
}

QString HotkeyAction::rawValue() const {
    return rawNames.raw(value_);
}

QString HotkeyAction::title() const {
    return titles.raw(value_);
}

QString HotkeyAction::enableFlag() const {
    return enableFlags.raw(value_);
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
