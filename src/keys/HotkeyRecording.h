#pragma once

#include "keys/HotkeyBindings.h"
#include "platform/HotkeyRegistrar.h"

#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

// The shortcut recorder's logic, without its view: the settings window starts it for an
// action, feeds it key-down events and shows `message()`. While it records, the
// "HotkeyRecording" notification has told the application to release its hot keys, so
// every key reaches the recorder.
class HotkeyRecording {
public:
    // The id of the trial registration that checks whether another program holds a key.
    static constexpr quint32 trialId = 99;

    enum class Outcome {
        ignored,   // not recording
        cancelled, // Escape: recording stopped, nothing changed
        rejected,  // the binding cannot be used; message() says why, recording goes on
        stored,    // the binding was saved and recording stopped
    };

    HotkeyRecording(HotkeyRegistrar& registrar, HotkeyBindings& bindings);
    // Stops a recording still running, so the hot keys come back.
    ~HotkeyRecording();
    HotkeyRecording(const HotkeyRecording&) = delete;
    HotkeyRecording& operator=(const HotkeyRecording&) = delete;

    // Called on each rejection (the system beep).
    std::function<void()> onReject;

    // Starts recording for `action`; a recording for another action stops first.
    void start(HotkeyAction action);
    // Stops recording, clears the message and announces the end.
    void stop();

    // A key press: its key code, modifiers and the characters it types without modifiers.
    Outcome keyDown(const KeyCombo& pressed);

    bool isRecording() const { return action_.has_value(); }
    std::optional<HotkeyAction> action() const { return action_; }
    // Why the last key was rejected; empty when there is nothing to show.
    QString message() const { return message_; }

private:
    std::optional<QString> problemWith(const KeyCombo& combo, HotkeyAction action) const;
    // Whether another program holds the keys: a trial registration, released at once.
    bool heldElsewhere(const KeyCombo& combo) const;

    HotkeyRegistrar& registrar_;
    HotkeyBindings& bindings_;
    std::optional<HotkeyAction> action_;
    QString message_;
};

} // namespace kivaro
