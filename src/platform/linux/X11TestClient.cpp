#include "platform/linux/X11TestClient.h"

#include "app/HotkeyCombo.h"
#include "platform/linux/X11Keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <array>
#include <utility>

namespace kivaro {

namespace {

constexpr std::array<std::pair<quint32, unsigned long>, 4> modifierKeys{{
    {HotkeyModifier::command, XK_Control_L},
    {HotkeyModifier::control, XK_Super_L},
    {HotkeyModifier::option, XK_Alt_L},
    {HotkeyModifier::shift, XK_Shift_L},
}};

bool refused = false;

int noteRefusal(Display*, XErrorEvent*) {
    refused = true;
    return 0;
}

} // namespace

X11TestClient::X11TestClient(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.constData());
}

X11TestClient::~X11TestClient() {
    if (display_)
        XCloseDisplay(display_);
}

bool X11TestClient::send(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0)
        return false;
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    return true;
}

bool X11TestClient::tap(unsigned long keysym) {
    const bool sent = send(keysym, true) && send(keysym, false);
    XSync(display_, False);
    return sent;
}

bool X11TestClient::type(quint32 virtualKeyCode, quint32 hotkeyModifiers) {
    return hold(virtualKeyCode, hotkeyModifiers, 1);
}

bool X11TestClient::sendModifiers(quint32 hotkeyModifiers, bool down) {
    bool sent = true;
    for (const auto& [mask, keysym] : modifierKeys) {
        if (hotkeyModifiers & mask)
            sent = send(keysym, down) && sent;
    }
    return sent;
}

bool X11TestClient::hold(quint32 virtualKeyCode, quint32 hotkeyModifiers, int presses) {
    if (!display_)
        return false;
    const unsigned long keysym = X11Keys::keysym(virtualKeyCode);
    bool sent = sendModifiers(hotkeyModifiers, true);
    for (int i = 0; i < presses; ++i)
        sent = send(keysym, true) && sent;
    sent = send(keysym, false) && sent;
    sent = sendModifiers(hotkeyModifiers, false) && sent;
    XSync(display_, False);
    return sent;
}

bool X11TestClient::toggleCapsLock() {
    return display_ && tap(XK_Caps_Lock);
}

bool X11TestClient::toggleNumLock() {
    return display_ && tap(XK_Num_Lock);
}

bool X11TestClient::grab(quint32 virtualKeyCode, quint32 hotkeyModifiers) {
    if (!display_)
        return false;
    const KeyCode code = XKeysymToKeycode(display_, X11Keys::keysym(virtualKeyCode));
    if (code == 0)
        return false;
    XSync(display_, False);
    refused = false;
    const XErrorHandler previous = XSetErrorHandler(&noteRefusal);
    XGrabKey(display_, code, X11Keys::modifierMask(hotkeyModifiers), DefaultRootWindow(display_),
             False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return !refused;
}

} // namespace kivaro
