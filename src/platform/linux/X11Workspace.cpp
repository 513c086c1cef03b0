#include "platform/linux/X11Workspace.h"

#include "browsers/LinuxBrowsers.h"
#include "platform/linux/X11ActivationWatcher.h"
#include "platform/linux/X11ErrorTrap.h"
#include "platform/linux/X11Properties.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace kivaro {

namespace {

// The single 32-bit value of a window property of the given type; nothing if it is missing,
// of another type or format, or the window is gone.
std::optional<unsigned long> cardinal(Display* display, Window window, const char* name,
                                      Atom type) {
    const std::vector<unsigned long> values = windowProperty(display, window, name, type, 1);
    if (values.size() != 1)
        return std::nullopt;
    return values.front();
}

struct WindowClass {
    QString instance;
    QString name;
};

std::optional<WindowClass> windowClass(Display* display, Window window) {
    ErrorTrap trap(display);
    XClassHint hint{nullptr, nullptr};
    const bool found = XGetClassHint(display, window, &hint) != 0 && !trap.failed();
    std::optional<WindowClass> result;
    if (found)
        result = WindowClass{QString::fromLocal8Bit(hint.res_name ? hint.res_name : ""),
                             QString::fromLocal8Bit(hint.res_class ? hint.res_class : "")};
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return result;
}

// The browser's bundle identifier and name, or the class name for any other application.
Workspace::Application application(const WindowClass& found, qint64 pid) {
    if (const auto browser = LinuxBrowsers::forWindowClass(found.instance, found.name))
        return {browser->bundleID, pid, browser->name};
    return {found.name, pid, found.name};
}

// A process's executable, without the mark the kernel adds once the file was replaced.
QString executable(const QString& processFolder) {
    QString target = QFileInfo(processFolder + QStringLiteral("/exe")).symLinkTarget();
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return target;
}

// Chromium's helper processes (renderers, the zygote, utilities) carry a --type= argument,
// Firefox's (content, sockets, utilities) a -contentproc one.
bool isHelper(const QString& processFolder) {
    QFile cmdline(processFolder + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return true;
    constexpr qint64 enough = 64 * 1024;
    const QList<QByteArray> arguments = cmdline.read(enough).split('\0');
    return std::any_of(arguments.begin(), arguments.end(), [](const QByteArray& argument) {
        return argument.startsWith("--type=") || argument == "-contentproc";
    });
}

// Whether the window is an application's own window (normal or dialog), not a panel, menu,
// tooltip or other helper window. A window without a type is a normal one.
bool isMainWindow(Display* display, Window window) {
    const std::vector<unsigned long> types =
        windowProperty(display, window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    if (types.empty())
        return true;
    const unsigned long type = types.front();
    return type == XInternAtom(display, "_NET_WM_WINDOW_TYPE_NORMAL", False) ||
           type == XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
}

// A window manager activates a window when a pager (source 2) asks for it.
void requestActivation(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

QList<Window> clientWindows(Display* display) {
    ErrorTrap trap(display);
    const Atom property = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    QList<Window> windows;
    constexpr long most = 4096;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, most, False, XA_WINDOW,
                           &actualType, &format, &count, &remaining, &data) == Success &&
        data && actualType == XA_WINDOW && format == 32) {
        const auto* items = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            windows.append(items[i]);
    }
    if (data)
        XFree(data);
    return windows;
}

} // namespace

X11Workspace::X11Workspace(const QString& displayName, QString procFolder)
    : procFolder_(std::move(procFolder)), displayName_(displayName),
      ownPid_(QCoreApplication::applicationPid()) {
    const QByteArray name = displayName.toLocal8Bit();
    display_ = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
}

X11Workspace::~X11Workspace() {
    watcher_.reset();
    if (display_)
        XCloseDisplay(display_);
}

std::optional<Workspace::Application> X11Workspace::frontApplication() const {
    const std::lock_guard lock(mutex_);
    if (!display_)
        return std::nullopt;
    const auto window =
        cardinal(display_, DefaultRootWindow(display_), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (!window || *window == None)
        return std::nullopt;
    const qint64 pid =
        static_cast<qint64>(cardinal(display_, *window, "_NET_WM_PID", XA_CARDINAL).value_or(0));
    if (pid == ownPid_ && !isMainWindow(display_, *window))
        return behindOurPanels_;
    const auto found = windowClass(display_, *window);
    if (!found)
        return std::nullopt;
    const Application front = application(*found, pid);
    if (pid != ownPid_)
        behindOurPanels_ = front;
    return front;
}

QList<Workspace::Application> X11Workspace::runningApplications() const {
    QList<Application> running;
    const QStringList processes = QDir(procFolder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& process : processes) {
        bool isNumber = false;
        const qint64 pid = process.toLongLong(&isNumber);
        const QString folder = procFolder_ + u'/' + process;
        if (!isNumber)
            continue;
        const auto browser = LinuxBrowsers::forExecutable(executable(folder));
        if (browser && !isHelper(folder))
            running.append({browser->bundleID, pid, browser->name});
    }
    return running;
}

bool X11Workspace::isInstalled(const QString& bundleID) const {
    const auto browser = LinuxBrowsers::find(bundleID);
    return browser && LinuxBrowsers::isInstalled(*browser);
}

bool X11Workspace::launch(const QString& bundleID, bool activate) {
    const auto browser = LinuxBrowsers::find(bundleID);
    if (!browser)
        return false;
    if (isRunning(bundleID))
        return !activate || this->activate(bundleID);
    for (const QString& program : browser->programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return QProcess::startDetached(path, {});
    }
    return false;
}

bool X11Workspace::activate(const QString& bundleID) const {
    const std::lock_guard lock(mutex_);
    if (!display_)
        return false;
    for (const Window window : clientWindows(display_)) {
        const auto found = windowClass(display_, window);
        if (found && application(*found, 0).bundleID == bundleID) {
            requestActivation(display_, window);
            return true;
        }
    }
    return false;
}

bool X11Workspace::openURL(const QString& url) {
    // Only an absolute address goes out, so that nothing is taken for a file or an option.
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme().isEmpty() || url.startsWith(u'-'))
        return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && QProcess::startDetached(opener, {url});
}

void X11Workspace::beep() {
    const std::lock_guard lock(mutex_);
    if (!display_)
        return;
    XBell(display_, 0);
    XFlush(display_);
}

bool X11Workspace::compositing() const {
    const std::lock_guard lock(mutex_);
    if (!display_)
        return true;
    const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display_));
    return XGetSelectionOwner(display_, XInternAtom(display_, selection.constData(), False)) !=
           None;
}

void X11Workspace::setActivationHandler(ActivationHandler handler) {
    activated_ = std::move(handler);
    if (activated_ && !watcher_)
        watcher_ =
            std::make_unique<X11ActivationWatcher>(displayName_, [this] { activeWindowChanged(); });
}

void X11Workspace::activeWindowChanged() {
    const std::optional<Application> front = frontApplication();
    if (lastFront_ == front)
        return;
    lastFront_ = front;
    if (activated_)
        activated_(front);
}

} // namespace kivaro
