#include "keys/HotkeyRecording.h"

#include "base/Notifications.h"
#include "platform/KeyCombo.h"
#include "settings/Preferences.h"

namespace kivaro {

namespace {

constexpr quint64 heldModifiers =
    EventModifier::shift | EventModifier::control | EventModifier::option | EventModifier::command;

bool isPlainEscape(const KeyEvent& event) {
    return event.keyCode == VirtualKey::escape && !(event.modifierFlags & heldModifiers);
}

void announce(bool recording) {
    Notifications::center().post(Notifications::hotkeyRecording, recording);
}

} // namespace

HotkeyRecording::HotkeyRecording(HotkeyRegistrar& registrar, Preferences& preferences)
    : registrar_(registrar), preferences_(preferences) {}

HotkeyRecording::~HotkeyRecording() {
    if (isRecording())
        stop();
}

void HotkeyRecording::start(HotkeyAction action) {
    if (isRecording())
        stop();
    action_ = action;
    message_.clear();
    announce(true);
}

void HotkeyRecording::stop() {
    action_.reset();
    message_.clear();
    announce(false);
}

HotkeyRecording::Outcome HotkeyRecording::keyDown(const KeyEvent& event) {
    if (!action_)
        return Outcome::ignored;
    if (isPlainEscape(event)) {
        stop();
        return Outcome::cancelled;
    }
    const HotkeyCombo combo = HotkeyCombo::fromEvent(event);
    if (const auto problem = problemWith(combo, *action_)) {
        message_ = *problem;
        if (onReject)
            onReject();
        return Outcome::rejected;
    }
    preferences_.setCombo(combo, *action_);
    stop();
    return Outcome::stored;
}

std::optional<QString> HotkeyRecording::problemWith(const HotkeyCombo& combo,
                                                    HotkeyAction action) const {
    const HotkeyCombos current = preferences_.combos();
    if (auto problem = combo.problem(action, current))
        return problem;
    if (!combo.sameKeys(current.value(action)) && heldElsewhere(combo))
        return QStringLiteral("Used by another app");
    return std::nullopt;
}

bool HotkeyRecording::heldElsewhere(const HotkeyCombo& combo) const {
    const auto ref = registrar_.registerHotkey({combo.keyCode, combo.modifiers, trialId}, true);
    if (!ref)
        return true;
    registrar_.unregisterHotkey(*ref);
    return false;
}

} // namespace kivaro
