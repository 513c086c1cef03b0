#include "platform/linux/X11WindowList.h"

#include "platform/linux/X11ErrorTrap.h"
#include "platform/linux/X11Properties.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <optional>
#include <vector>

namespace kivaro {

namespace {

// Layer of windows that float above ordinary ones (docks, menus, notifications).
constexpr int specialLayer = 1;

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

bool holds(const std::vector<unsigned long>& values, unsigned long value) {
    for (const unsigned long v : values)
        if (v == value)
            return true;
    return false;
}

// Front to back: the active window, then the stacking order from the top.
std::vector<::Window> frontToBack(Display* display, ::Window root) {
    std::vector<unsigned long> stack =
        windowProperty(display, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (stack.empty())
        stack = windowProperty(display, root, "_NET_CLIENT_LIST", XA_WINDOW);
    const std::vector<unsigned long> active =
        windowProperty(display, root, "_NET_ACTIVE_WINDOW", XA_WINDOW);
    std::vector<::Window> order;
    if (!active.empty() && active.front() != None)
        order.push_back(active.front());
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (order.empty() || *it != order.front())
            order.push_back(*it);
    }
    return order;
}

// The layer of the window's type; nothing for desktop windows, which are never listed.
std::optional<int> layerOf(Display* display, ::Window window) {
    const std::vector<unsigned long> types =
        windowProperty(display, window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    if (types.empty())
        return 0;
    const unsigned long type = types.front();
    if (type == atom(display, "_NET_WM_WINDOW_TYPE_DESKTOP"))
        return std::nullopt;
    if (type == atom(display, "_NET_WM_WINDOW_TYPE_NORMAL") ||
        type == atom(display, "_NET_WM_WINDOW_TYPE_DIALOG"))
        return 0;
    return specialLayer;
}

bool hidden(Display* display, ::Window window) {
    return holds(windowProperty(display, window, "_NET_WM_STATE", XA_ATOM),
                 atom(display, "_NET_WM_STATE_HIDDEN"));
}

// The window's rectangle on the root window, grown by the frame the window manager draws.
std::optional<QRectF> boundsOf(Display* display, ::Window window, ::Window root) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return std::nullopt;
    int x = 0;
    int y = 0;
    ::Window child = None;
    if (!XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child))
        return std::nullopt;
    QRectF bounds(x, y, attributes.width, attributes.height);
    const std::vector<unsigned long> frame =
        windowProperty(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    // Left, right, top, bottom.
    if (frame.size() == 4)
        bounds.adjust(-double(frame[0]), -double(frame[2]), double(frame[1]), double(frame[3]));
    return bounds;
}

std::optional<WindowList::Window> describe(Display* display, ::Window window, ::Window root) {
    const std::optional<int> layer = layerOf(display, window);
    if (!layer || hidden(display, window))
        return std::nullopt;
    const std::optional<QRectF> bounds = boundsOf(display, window, root);
    if (!bounds)
        return std::nullopt;
    const std::vector<unsigned long> pid =
        windowProperty(display, window, "_NET_WM_PID", XA_CARDINAL);
    return WindowList::Window{pid.empty() ? 0 : qint64(pid.front()), *layer, *bounds};
}

} // namespace

QRectF toPoints(const QRectF& pixels, const QList<ScreenScale>& screens) {
    if (screens.isEmpty())
        return pixels;
    const QPointF centre = pixels.center();
    const auto holding = std::find_if(screens.begin(), screens.end(), [centre](const auto& s) {
        return QRectF(s.pixels).contains(centre);
    });
    const ScreenScale& screen = holding == screens.end() ? screens.first() : *holding;
    if (screen.ratio <= 0)
        return pixels;
    const QPointF origin = screen.pixels.topLeft();
    return {origin + (pixels.topLeft() - origin) / screen.ratio, pixels.size() / screen.ratio};
}

QList<ScreenScale> qtScreenScales() {
    QList<ScreenScale> scales;
    // Only a GUI application has screens, and they belong to its main thread.
    const auto* gui = qobject_cast<const QGuiApplication*>(QCoreApplication::instance());
    if (!gui || QThread::currentThread() != gui->thread())
        return scales;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const double ratio = screen->devicePixelRatio();
        const QRect points = screen->geometry();
        scales.append({QRect(points.topLeft(), (QSizeF(points.size()) * ratio).toSize()), ratio});
    }
    return scales;
}

X11WindowList::X11WindowList(const QString& displayName, Scales scales)
    : scales_(std::move(scales)) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(displayName.isEmpty() ? nullptr : name.constData());
}

X11WindowList::~X11WindowList() {
    if (display_)
        XCloseDisplay(display_);
}

QList<WindowList::Window> X11WindowList::windows() const {
    const std::lock_guard lock(mutex_);
    if (!display_)
        return {};
    const ::Window root = DefaultRootWindow(display_);
    // A window may close while it is read: its requests fail and it is left out.
    ErrorTrap trap(display_);
    const QList<ScreenScale> screens = scales_ ? scales_() : QList<ScreenScale>();
    QList<Window> listed;
    for (const ::Window window : frontToBack(display_, root)) {
        if (std::optional<Window> described = describe(display_, window, root)) {
            described->bounds = toPoints(described->bounds, screens);
            listed.append(*described);
        }
    }
    return listed;
}

} // namespace kivaro
