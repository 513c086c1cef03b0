#pragma once

#include "platform/HotkeyRegistrar.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class QSocketNotifier;
struct _XDisplay;

namespace kivaro {

// Hot keys on X11: passive key grabs on the root window, over a connection of our own.
// Presses are read when the connection's socket becomes readable, inside Qt's event loop,
// and handed to the press handler on the thread this object lives on.
class X11HotkeyRegistrar : public QObject, public HotkeyRegistrar {
    Q_OBJECT

public:
    // Connects to `displayName`, or to $DISPLAY when it is empty. Without a connection
    // every registration fails.
    explicit X11HotkeyRegistrar(const QString& displayName = {});
    ~X11HotkeyRegistrar() override;

    bool isConnected() const { return display_ != nullptr; }

    std::optional<Ref> registerHotkey(const KeyCombo& keys, quint32 id, bool exclusive) override;
    void unregisterHotkey(Ref ref) override;
    void setPressHandler(PressHandler handler) override;

    // Reads every event that has arrived; the socket notifier calls it.
    void processEvents();

private:
    // A grab as X sees it: the keyboard's key code and the X modifier mask.
    struct Grab {
        unsigned int keycode = 0;
        unsigned int modifiers = 0;

        bool operator<(const Grab& other) const {
            return keycode != other.keycode ? keycode < other.keycode : modifiers < other.modifiers;
        }
    };

    struct Registration {
        Grab grab;
        quint32 id = 0;
    };

    std::optional<Grab> grabFor(const KeyCombo& keys) const;
    // The modifier variants grabbed for one combination, so that Caps Lock and Num Lock
    // do not stop a hot key.
    QList<unsigned int> lockVariants(unsigned int modifiers) const;
    bool grab(const Grab& grab);
    void ungrab(const Grab& grab);
    void deliver(unsigned int keycode, unsigned int state);
    void scheduleProcessing();

    _XDisplay* display_ = nullptr;
    unsigned long root_ = 0;
    unsigned int numLockMask_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    PressHandler handler_;
    QMap<Ref, Registration> registrations_;
    // The registrations sharing each grab; the grab is released with the last of them.
    QMap<Grab, QList<Ref>> holders_;
    // Keys pressed and not yet released; their repeats are not new presses.
    QSet<unsigned int> held_;
    Ref next_ = 1;
};

} // namespace kivaro
