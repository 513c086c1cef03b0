#pragma once

#include "platform/HotkeyRegistrar.h"

#include <QList>
#include <QMap>

namespace kivaro {

// An in-memory hot-key service: remembers what is registered, refuses keys that "another
// program" holds, and lets a test press keys.
class FakeHotkeyRegistrar : public HotkeyRegistrar {
public:
    // One registration: the keys and the id their presses report.
    struct Held {
        KeyCombo keys;
        quint32 id = 0;

        bool operator==(const Held&) const = default;
    };

    struct Call {
        Held registration;
        bool exclusive = false;
        bool succeeded = false;

        bool operator==(const Call&) const = default;
    };

    std::optional<Ref> registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) override;
    void unregisterHotkey(Ref ref) override;
    void setPressHandler(PressHandler handler) override;

    // Keys another program holds: registering them fails.
    void takeElsewhere(const KeyCombo& keys);

    // Presses the registered keys; false when none of ours are these keys.
    bool press(const KeyCombo& keys);
    // Delivers a raw id, as a platform event with any id could.
    void deliver(quint32 id);

    // Registrations held now, in registration order.
    QList<Held> active() const;
    // Every registration attempt, in order.
    const QList<Call>& calls() const { return calls_; }
    const QList<Ref>& released() const { return released_; }
    bool hasPressHandler() const { return bool(handler_); }

private:
    static bool anySameKeys(const QList<KeyCombo>& held, const KeyCombo& keys);
    QList<KeyCombo> heldByUs() const;

    QMap<Ref, Held> active_;
    QList<KeyCombo> elsewhere_;
    QList<Call> calls_;
    QList<Ref> released_;
    PressHandler handler_;
    Ref next_ = 1;
};

} // namespace kivaro
