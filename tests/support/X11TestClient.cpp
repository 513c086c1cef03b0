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
#include <vector>

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

// In the order of X11TestClient::Type; none sets no type.
const char* typeAtom(X11TestClient::Type type) {
    static constexpr const char* atoms[] = {nullptr,
                                            "_NET_WM_WINDOW_TYPE_NORMAL",
                                            "_NET_WM_WINDOW_TYPE_DIALOG",
                                            "_NET_WM_WINDOW_TYPE_DOCK",
                                            "_NET_WM_WINDOW_TYPE_UTILITY",
                                            "_NET_WM_WINDOW_TYPE_DESKTOP"};
    return atoms[int(type)];
}

void setLongs(Display* display, ::Window window, Atom property, Atom type,
              const std::vector<unsigned long>& values) {
    XChangeProperty(display, window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), int(values.size()));
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
    if (pid != 0)
        setCardinals(window, "_NET_WM_PID", {static_cast<unsigned long>(pid)});
    if (const char* atom = typeAtom(type))
        setAtoms(window, "_NET_WM_WINDOW_TYPE", {atom});
    XMapWindow(display_, window);
    XSync(display_, False);
    created_.append(window);
    return window;
}

void X11TestClient::setFrameExtents(unsigned long window, const QMargins& frame) {
    setCardinals(window, "_NET_FRAME_EXTENTS",
                 {unsigned(frame.left()), unsigned(frame.right()), unsigned(frame.top()),
                  unsigned(frame.bottom())});
}

void X11TestClient::setHidden(unsigned long window) {
    setAtoms(window, "_NET_WM_STATE", {"_NET_WM_STATE_HIDDEN"});
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
    setLongs(display_, DefaultRootWindow(display_),
             XInternAtom(display_, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, {window});
    XSync(display_, False);
}

void X11TestClient::publishStack(const QList<unsigned long>& bottomToTop) {
    const std::vector<unsigned long> ids(bottomToTop.begin(), bottomToTop.end());
    const ::Window root = DefaultRootWindow(display_);
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"})
        setLongs(display_, root, XInternAtom(display_, name, False), XA_WINDOW, ids);
    XSync(display_, False);
}

void X11TestClient::setGarbledActive() {
    const QByteArray text("not a window");
    XChangeProperty(display_, DefaultRootWindow(display_),
                    XInternAtom(display_, "_NET_ACTIVE_WINDOW", False), XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(text.constData()),
                    int(text.size()));
    XSync(display_, False);
}

void X11TestClient::clear() {
    const ::Window root = DefaultRootWindow(display_);
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW"})
        XDeleteProperty(display_, root, XInternAtom(display_, name, False));
    XSync(display_, False);
}

void X11TestClient::actAsWindowManager() {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureRedirectMask);
    XSync(display_, False);
}

std::optional<unsigned long> X11TestClient::nextActivationRequest() {
    const Atom activate = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
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

void X11TestClient::setAtoms(unsigned long window, const char* property,
                             const QList<const char*>& values) {
    std::vector<unsigned long> atoms;
    for (const char* value : values)
        atoms.push_back(XInternAtom(display_, value, False));
    setLongs(display_, window, XInternAtom(display_, property, False), XA_ATOM, atoms);
    XSync(display_, False);
}

void X11TestClient::setCardinals(unsigned long window, const char* property,
                                 const QList<unsigned long>& values) {
    setLongs(display_, window, XInternAtom(display_, property, False), XA_CARDINAL,
             std::vector<unsigned long>(values.begin(), values.end()));
    XSync(display_, False);
}

} // namespace kivaro
