#include "support/X11TestClient.h"

#include "platform/linux/X11Keys.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <array>
#include <unistd.h>
#include <utility>

namespace kivaro {

namespace {

constexpr std::array<std::pair<Modifier, unsigned long>, 4> modifierKeys{{
    {Modifier::command, XK_Control_L},
    {Modifier::control, XK_Super_L},
    {Modifier::option, XK_Alt_L},
    {Modifier::shift, XK_Shift_L},
}};

unsigned long keysymOf(const KeyCombo& keys) {
    return keys.keyCode ? X11Keys::keysym(*keys.keyCode) : NoSymbol;
}

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

bool X11TestClient::type(const KeyCombo& keys) {
    return hold(keys, 1);
}

bool X11TestClient::sendModifiers(Modifiers modifiers, bool down) {
    bool sent = true;
    for (const auto& [modifier, keysym] : modifierKeys) {
        if (modifiers & modifier)
            sent = send(keysym, down) && sent;
    }
    return sent;
}

bool X11TestClient::hold(const KeyCombo& keys, int presses) {
    if (!display_)
        return false;
    const unsigned long keysym = keysymOf(keys);
    bool sent = sendModifiers(keys.modifiers, true);
    for (int i = 0; i < presses; ++i)
        sent = send(keysym, true) && sent;
    sent = send(keysym, false) && sent;
    sent = sendModifiers(keys.modifiers, false) && sent;
    XSync(display_, False);
    return sent;
}

bool X11TestClient::toggleCapsLock() {
    return display_ && tap(XK_Caps_Lock);
}

bool X11TestClient::toggleNumLock() {
    return display_ && tap(XK_Num_Lock);
}

bool X11TestClient::grab(const KeyCombo& keys) {
    if (!display_)
        return false;
    const KeyCode code = XKeysymToKeycode(display_, keysymOf(keys));
    if (code == 0)
        return false;
    XSync(display_, False);
    refused = false;
    const XErrorHandler previous = XSetErrorHandler(&noteRefusal);
    XGrabKey(display_, code, X11Keys::modifierMask(keys.modifiers), DefaultRootWindow(display_),
             False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return !refused;
}

namespace {

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

void setWindows(Display* display, const char* name, const QList<unsigned long>& windows) {
    XChangeProperty(display, DefaultRootWindow(display), atom(display, name), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(windows.constData()),
                    static_cast<int>(windows.size()));
    XSync(display, False);
}

} // namespace

unsigned long X11TestClient::createWindow(const QString& instance, const QString& className,
                                          std::optional<quint32> pid) {
    const Window window =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
    QByteArray name = instance.toLocal8Bit();
    QByteArray kind = className.toLocal8Bit();
    XClassHint hint{name.data(), kind.data()};
    XSetClassHint(display_, window, &hint);
    if (pid) {
        const unsigned long value = *pid;
        XChangeProperty(display_, window, atom(display_, "_NET_WM_PID"), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
    }
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
}

void X11TestClient::destroyWindow(unsigned long window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

void X11TestClient::setActiveWindow(unsigned long window) {
    setWindows(display_, "_NET_ACTIVE_WINDOW", {window});
}

void X11TestClient::setClientList(const QList<unsigned long>& windows) {
    setWindows(display_, "_NET_CLIENT_LIST", windows);
}

void X11TestClient::setGarbledActiveWindow() {
    const QByteArray text("not a window");
    XChangeProperty(display_, DefaultRootWindow(display_), atom(display_, "_NET_ACTIVE_WINDOW"),
                    XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.constData()),
                    static_cast<int>(text.size()));
    XSync(display_, False);
}

void X11TestClient::removeActiveWindow() {
    XDeleteProperty(display_, DefaultRootWindow(display_), atom(display_, "_NET_ACTIVE_WINDOW"));
    XSync(display_, False);
}

void X11TestClient::actAsWindowManager() {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureRedirectMask);
    XSync(display_, False);
}

std::optional<unsigned long> X11TestClient::nextActivationRequest() {
    constexpr int polls = 100;
    for (int poll = 0; poll < polls; ++poll) {
        XSync(display_, False);
        XEvent event;
        while (XCheckTypedEvent(display_, ClientMessage, &event)) {
            if (event.xclient.message_type == atom(display_, "_NET_ACTIVE_WINDOW"))
                return event.xclient.window;
        }
        usleep(20000);
    }
    return std::nullopt;
}

} // namespace kivaro
