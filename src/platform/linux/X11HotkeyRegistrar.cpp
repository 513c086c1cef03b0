#include "platform/linux/X11HotkeyRegistrar.h"

#include "platform/linux/X11ErrorTrap.h"
#include "platform/linux/X11Keys.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QtDebug>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace kivaro {

namespace {

unsigned int maskOfKeysym(Display* display, KeySym symbol) {
    const KeyCode code = XKeysymToKeycode(display, symbol);
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return 0;
    unsigned int mask = 0;
    for (int modifier = 0; modifier < 8 && code != 0; ++modifier) {
        for (int slot = 0; slot < map->max_keypermod; ++slot) {
            if (map->modifiermap[modifier * map->max_keypermod + slot] == code)
                mask |= 1u << modifier;
        }
    }
    XFreeModifiermap(map);
    return mask;
}

} // namespace

X11HotkeyRegistrar::X11HotkeyRegistrar(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display_) {
        // With no display at all there is nothing to report: the program says itself what
        // cannot work without one.
        if (!name.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY"))
            qWarning("Kivaro X11: cannot open display %s, global shortcuts are off",
                     name.isEmpty() ? "$DISPLAY" : name.constData());
        return;
    }
    root_ = DefaultRootWindow(display_);
    numLockMask_ = maskOfKeysym(display_, XK_Num_Lock);
    // A held key repeats as further presses without releases in between, which tells a
    // repeat from a new press: a hot key fires once per press, as on the Mac.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display_, True, &detectable);
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11HotkeyRegistrar::processEvents);
}

X11HotkeyRegistrar::~X11HotkeyRegistrar() {
    if (!display_)
        return;
    notifier_.reset();
    for (auto it = holders_.cbegin(); it != holders_.cend(); ++it)
        ungrab(it.key());
    XCloseDisplay(display_);
}

void X11HotkeyRegistrar::setPressHandler(PressHandler handler) {
    handler_ = std::move(handler);
}

std::optional<X11HotkeyRegistrar::Grab> X11HotkeyRegistrar::grabFor(const KeyCombo& keys) const {
    const KeySym symbol = keys.keyCode ? X11Keys::keysym(*keys.keyCode) : NoSymbol;
    if (symbol == NoSymbol)
        return std::nullopt;
    const KeyCode keycode = XKeysymToKeycode(display_, symbol);
    if (keycode == 0)
        return std::nullopt;
    return Grab{keycode, X11Keys::modifierMask(keys.modifiers)};
}

QList<unsigned int> X11HotkeyRegistrar::lockVariants(unsigned int modifiers) const {
    QList<unsigned int> variants{modifiers, modifiers | LockMask};
    if (numLockMask_ != 0 && !(numLockMask_ & modifiers)) {
        variants.append(modifiers | numLockMask_);
        variants.append(modifiers | numLockMask_ | LockMask);
    }
    return variants;
}

bool X11HotkeyRegistrar::grab(const Grab& grab) {
    bool refused = false;
    {
        ErrorTrap trap(display_);
        for (unsigned int modifiers : lockVariants(grab.modifiers))
            XGrabKey(display_, int(grab.keycode), modifiers, root_, False, GrabModeAsync,
                     GrabModeAsync);
        refused = trap.failed();
    }
    // A variant another client holds refuses the whole combination; give back the rest.
    if (refused)
        ungrab(grab);
    return !refused;
}

void X11HotkeyRegistrar::ungrab(const Grab& grab) {
    ErrorTrap trap(display_);
    for (unsigned int modifiers : lockVariants(grab.modifiers))
        XUngrabKey(display_, int(grab.keycode), modifiers, root_);
}

std::optional<HotkeyRegistrar::Ref> X11HotkeyRegistrar::registerHotkey(const KeyCombo& keys,
                                                                       quint32 id, bool exclusive) {
    if (!display_)
        return std::nullopt;
    const auto grab = grabFor(keys);
    if (!grab)
        return std::nullopt;
    const bool held = holders_.contains(*grab);
    if ((held && exclusive) || (!held && !this->grab(*grab)))
        return std::nullopt;
    const Ref ref = next_++;
    registrations_.insert(ref, {*grab, id});
    holders_[*grab].append(ref);
    scheduleProcessing();
    return ref;
}

void X11HotkeyRegistrar::unregisterHotkey(Ref ref) {
    const auto found = registrations_.constFind(ref);
    if (found == registrations_.cend())
        return;
    const Grab grab = found->grab;
    registrations_.erase(found);
    QList<Ref>& sharing = holders_[grab];
    sharing.removeAll(ref);
    if (sharing.isEmpty()) {
        holders_.remove(grab);
        ungrab(grab);
    }
    scheduleProcessing();
}

// Syncing may have pulled events into Xlib's queue, where the socket notifier cannot see
// them; read them on the next turn of the event loop.
void X11HotkeyRegistrar::scheduleProcessing() {
    QMetaObject::invokeMethod(this, &X11HotkeyRegistrar::processEvents, Qt::QueuedConnection);
}

void X11HotkeyRegistrar::processEvents() {
    if (!display_)
        return;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == KeyRelease)
            held_.remove(event.xkey.keycode);
        else if (event.type == KeyPress && !held_.contains(event.xkey.keycode)) {
            held_.insert(event.xkey.keycode);
            deliver(event.xkey.keycode, event.xkey.state);
        }
    }
}

void X11HotkeyRegistrar::deliver(unsigned int keycode, unsigned int state) {
    const auto found = holders_.constFind(Grab{keycode, state & X11Keys::significantModifiers()});
    if (found == holders_.cend())
        return;
    QList<quint32> ids;
    for (Ref ref : *found)
        ids.append(registrations_.value(ref).id);
    // The handler may register or release keys; it works on a copy of the ids.
    for (quint32 id : std::as_const(ids)) {
        if (handler_)
            handler_(id);
    }
}

} // namespace kivaro
