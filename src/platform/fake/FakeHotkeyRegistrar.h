#pragma once

#include "platform/HotkeyRegistrar.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace kivaro {

// An in-memory hot-key service: remembers what is registered, refuses keys that "another
// program" holds, and lets a test press keys.
class FakeHotkeyRegistrar : public HotkeyRegistrar {
public:
    struct Call {
        Binding binding;
        bool exclusive = false;
        bool succeeded = false;

        bool operator==(const Call&) const = default;
    };

    std::optional<Ref> registerHotkey(const Binding& binding, bool exclusive) override;
    void unregisterHotkey(Ref ref) override;
    void setPressHandler(PressHandler handler) override;

    // Keys another program holds: registering them fails.
    void takeElsewhere(quint32 keyCode, quint32 modifiers);

    // Presses the registered binding with these keys; false when none is registered.
    bool press(quint32 keyCode, quint32 modifiers);
    // Delivers a raw id, as a platform event with any id could.
    void deliver(quint32 id);

    // Registrations held now, in registration order.
    QList<Binding> active() const;
    // Every registration attempt, in order.
    const QList<Call>& calls() const { return calls_; }
    const QList<Ref>& released() const { return released_; }
    bool hasPressHandler() const { return bool(handler_); }

private:
    bool heldByUs(const Binding& binding) const;

    QMap<Ref, Binding> active_;
    QList<QPair<quint32, quint32>> elsewhere_;
    QList<Call> calls_;
    QList<Ref> released_;
    PressHandler handler_;
    Ref next_ = 1;
};

} // namespace kivaro
