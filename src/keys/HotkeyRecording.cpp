#include "keys/HotkeyRecording.h"

#include "base/Notifications.h"

namespace kivaro {

namespace {

bool isPlainEscape(const KeyCombo& pressed) {
    return pressed.keyCode == VirtualKey::escape && !(pressed.modifiers & allModifiers);
}

void announce(bool recording) {
    Notifications::center().post(Notifications::hotkeyRecording, recording);
}

} // namespace

HotkeyRecording::HotkeyRecording(HotkeyRegistrar& registrar, HotkeyBindings& bindings)
    : registrar_(registrar), bindings_(bindings) {}

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

HotkeyRecording::Outcome HotkeyRecording::keyDown(const KeyCombo& pressed) {
    if (!action_)
        return Outcome::ignored;
    if (isPlainEscape(pressed)) {
        stop();
        return Outcome::cancelled;
    }
    const KeyCombo combo = Binding::fromPress(pressed);
    if (const auto problem = problemWith(combo, *action_)) {
        message_ = *problem;
        if (onReject)
            onReject();
        return Outcome::rejected;
    }
    bindings_.setCombo(combo, *action_);
    stop();
    return Outcome::stored;
}

std::optional<QString> HotkeyRecording::problemWith(const KeyCombo& combo,
                                                    HotkeyAction action) const {
    const ActionCombos current = bindings_.combos();
    if (auto problem = Binding::problem(combo, action, current))
        return problem;
    if (!combo.sameKeys(current.value(action)) && heldElsewhere(combo))
        return QStringLiteral("Used by another app");
    return std::nullopt;
}

bool HotkeyRecording::heldElsewhere(const KeyCombo& combo) const {
    const auto ref = registrar_.registerHotkey(combo, trialId, true);
    if (!ref)
        return true;
    registrar_.unregisterHotkey(*ref);
    return false;
}

} // namespace kivaro
