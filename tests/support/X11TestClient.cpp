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

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

} // namespace

X11TestClient::X11TestClient(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.constData());
}

X11TestClient::~X11TestClient() {
    if (!display_)
        return;
    clear();
    for (const unsigned long window : created_)
        XDestroyWindow(display_, window);
    XCloseDisplay(display_);
}

bool X11TestClient::send(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0)
        return false;
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    return true;
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

bool X11TestClient::toggleLock(bool caps) {
    if (!display_)
        return false;
    const unsigned long keysym = caps ? XK_Caps_Lock : XK_Num_Lock;
    const bool sent = send(keysym, true) && send(keysym, false);
    XSync(display_, False);
    return sent;
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

unsigned long X11TestClient::createWindow(const QRect& geometry, qint64 pid, Type type) {
    const ::Window root = DefaultRootWindow(display_);
    XSetWindowAttributes attributes{};
    // Placed where asked: no window manager moves it.
    attributes.override_redirect = True;
    const ::Window window =
        XCreateWindow(display_, root, geometry.x(), geometry.y(), unsigned(geometry.width()),
                      unsigned(geometry.height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect, &attributes);
    return show(window, pid, type);
}

unsigned long X11TestClient::createApplicationWindow(const QString& instance,
                                                     const QString& className, qint64 pid) {
    const ::Window window =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
    QByteArray name = instance.toLocal8Bit();
    QByteArray kind = className.toLocal8Bit();
    XClassHint hint{name.data(), kind.data()};
    XSetClassHint(display_, window, &hint);
    return show(window, pid, Type::none);
}

unsigned long X11TestClient::show(unsigned long window, qint64 pid, Type type) {
    // In the order of Type.
    static const char* const types[] = {nullptr, "NORMAL", "DIALOG", "DOCK", "UTILITY", "DESKTOP"};
    if (pid != 0)
        setLongs(window, "_NET_WM_PID", XA_CARDINAL, {static_cast<unsigned long>(pid)});
    if (type != Type::none) {
        const QByteArray name = QByteArray("_NET_WM_WINDOW_TYPE_") + types[int(type)];
        setLongs(window, "_NET_WM_WINDOW_TYPE", XA_ATOM, {atom(display_, name.constData())});
    }
    XMapWindow(display_, window);
    XSync(display_, False);
    created_.append(window);
    return window;
}

void X11TestClient::setFrameExtents(unsigned long window, const QMargins& frame) {
    setLongs(window, "_NET_FRAME_EXTENTS", XA_CARDINAL,
             {unsigned(frame.left()), unsigned(frame.right()), unsigned(frame.top()),
              unsigned(frame.bottom())});
}

void X11TestClient::setHidden(unsigned long window) {
    setLongs(window, "_NET_WM_STATE", XA_ATOM, {atom(display_, "_NET_WM_STATE_HIDDEN")});
}

void X11TestClient::unmap(unsigned long window) {
    XUnmapWindow(display_, window);
    XSync(display_, False);
}

void X11TestClient::destroyKeepingListed(unsigned long window) {
    XDestroyWindow(display_, window);
    created_.removeAll(window);
    XSync(display_, False);
}

void X11TestClient::setActive(unsigned long window) {
    setLongs(DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW, {window});
}

void X11TestClient::publishStack(const QList<unsigned long>& bottomToTop) {
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"})
        setLongs(DefaultRootWindow(display_), name, XA_WINDOW, bottomToTop);
}

void X11TestClient::setGarbledActive() {
    const QByteArray text("not a window");
    XChangeProperty(display_, DefaultRootWindow(display_), atom(display_, "_NET_ACTIVE_WINDOW"),
                    XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.constData()), int(text.size()));
    XSync(display_, False);
}

void X11TestClient::clear() {
    const ::Window root = DefaultRootWindow(display_);
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW"})
        XDeleteProperty(display_, root, atom(display_, name));
    XSync(display_, False);
}

void X11TestClient::actAsWindowManager() {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureRedirectMask);
    XSync(display_, False);
}

std::optional<unsigned long> X11TestClient::nextActivationRequest() {
    const Atom activate = atom(display_, "_NET_ACTIVE_WINDOW");
    for (int poll = 0; poll < 100; ++poll) {
        XSync(display_, False);
        XEvent event;
        while (XCheckTypedEvent(display_, ClientMessage, &event)) {
            if (event.xclient.message_type == activate)
                return event.xclient.window;
        }
        usleep(20000);
    }
    return std::nullopt;
}

void X11TestClient::setLongs(unsigned long window, const char* property, unsigned long type,
                             const QList<unsigned long>& values) {
    XChangeProperty(display_, window, atom(display_, property), type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.constData()), int(values.size()));
    XSync(display_, False);
}

} // namespace kivaro
