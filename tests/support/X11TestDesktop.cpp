#include "support/X11TestDesktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <vector>

namespace kivaro {

namespace {

const char* typeAtom(X11TestDesktop::Type type) {
    switch (type) {
    case X11TestDesktop::Type::normal:
        return "_NET_WM_WINDOW_TYPE_NORMAL";
    case X11TestDesktop::Type::dialog:
        return "_NET_WM_WINDOW_TYPE_DIALOG";
    case X11TestDesktop::Type::dock:
        return "_NET_WM_WINDOW_TYPE_DOCK";
    case X11TestDesktop::Type::utility:
        return "_NET_WM_WINDOW_TYPE_UTILITY";
    case X11TestDesktop::Type::desktop:
        return "_NET_WM_WINDOW_TYPE_DESKTOP";
    case X11TestDesktop::Type::none:
        break;
    }
    return nullptr;
}

void setLongs(Display* display, ::Window window, Atom property, Atom type,
              const std::vector<unsigned long>& values) {
    XChangeProperty(display, window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), int(values.size()));
}

} // namespace

X11TestDesktop::X11TestDesktop(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.constData());
}

X11TestDesktop::~X11TestDesktop() {
    if (!display_)
        return;
    clear();
    for (const unsigned long window : created_)
        XDestroyWindow(display_, window);
    XCloseDisplay(display_);
}

unsigned long X11TestDesktop::createWindow(const QRect& geometry, qint64 pid, Type type) {
    const ::Window root = DefaultRootWindow(display_);
    XSetWindowAttributes attributes{};
    // Placed where asked: no window manager moves it.
    attributes.override_redirect = True;
    const ::Window window =
        XCreateWindow(display_, root, geometry.x(), geometry.y(), unsigned(geometry.width()),
                      unsigned(geometry.height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect, &attributes);
    if (pid != 0)
        setCardinals(window, "_NET_WM_PID", {static_cast<unsigned long>(pid)});
    if (const char* atom = typeAtom(type))
        setAtoms(window, "_NET_WM_WINDOW_TYPE", {atom});
    XMapWindow(display_, window);
    XSync(display_, False);
    created_.append(window);
    return window;
}

void X11TestDesktop::setFrameExtents(unsigned long window, const Frame& frame) {
    setCardinals(
        window, "_NET_FRAME_EXTENTS",
        {unsigned(frame.left), unsigned(frame.right), unsigned(frame.top), unsigned(frame.bottom)});
}

void X11TestDesktop::setHidden(unsigned long window) {
    setAtoms(window, "_NET_WM_STATE", {"_NET_WM_STATE_HIDDEN"});
}

void X11TestDesktop::unmap(unsigned long window) {
    XUnmapWindow(display_, window);
    XSync(display_, False);
}

void X11TestDesktop::destroyKeepingListed(unsigned long window) {
    XDestroyWindow(display_, window);
    created_.removeAll(window);
    XSync(display_, False);
}

void X11TestDesktop::setActive(unsigned long window) {
    setLongs(display_, DefaultRootWindow(display_),
             XInternAtom(display_, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, {window});
    XSync(display_, False);
}

void X11TestDesktop::publishStack(const QList<unsigned long>& bottomToTop) {
    const std::vector<unsigned long> ids(bottomToTop.begin(), bottomToTop.end());
    const ::Window root = DefaultRootWindow(display_);
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"})
        setLongs(display_, root, XInternAtom(display_, name, False), XA_WINDOW, ids);
    XSync(display_, False);
}

void X11TestDesktop::clear() {
    const ::Window root = DefaultRootWindow(display_);
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW"})
        XDeleteProperty(display_, root, XInternAtom(display_, name, False));
    XSync(display_, False);
}

void X11TestDesktop::setAtoms(unsigned long window, const char* property,
                              const QList<const char*>& values) {
    std::vector<unsigned long> atoms;
    for (const char* value : values)
        atoms.push_back(XInternAtom(display_, value, False));
    setLongs(display_, window, XInternAtom(display_, property, False), XA_ATOM, atoms);
    XSync(display_, False);
}

void X11TestDesktop::setCardinals(unsigned long window, const char* property,
                                  const QList<unsigned long>& values) {
    setLongs(display_, window, XInternAtom(display_, property, False), XA_CARDINAL,
             std::vector<unsigned long>(values.begin(), values.end()));
    XSync(display_, False);
}

} // namespace kivaro
