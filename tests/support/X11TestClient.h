#pragma once

#include "platform/KeyCombo.h"

#include <QList>
#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

struct _XDisplay;

namespace kivaro {

// Another X client, for the tests of the X11 adapters: it types keys through the XTest
// extension, as a keyboard would, and grabs keys as a competing program would. It also stands
// in for a window manager: it makes top-level windows and publishes the EWMH properties a real
// one keeps (client list, active window, process ids, window types, frame extents, hidden
// state), or hears the activation requests one would.
class X11TestClient {
public:
    // The window types of _NET_WM_WINDOW_TYPE; none sets no type.
    enum class Type { none, normal, dialog, dock, utility, desktop };

    explicit X11TestClient(const QString& displayName);
    ~X11TestClient();
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    bool isConnected() const { return display_ != nullptr; }

    // Holds the modifiers, presses and releases the key, then lets the modifiers go. False
    // when a key is missing.
    bool type(const KeyCombo& keys);

    // Holds the modifiers and presses the key `presses` times without letting it go, as a
    // key held down repeats; then releases everything.
    bool hold(const KeyCombo& keys, int presses);

    // Presses and releases Caps Lock (or else Num Lock), which switches its lock state.
    bool toggleLock(bool caps);

    // A passive grab on the root window, as a competing program would hold it.
    bool grab(const KeyCombo& keys);

    // A mapped top-level window at `geometry` (root coordinates) owned by `pid` (0: no
    // _NET_WM_PID), added on top of the client list. Returns its id.
    unsigned long createWindow(const QRect& geometry, qint64 pid, Type type = Type::normal);
    // A window with this WM_CLASS, as an application maps it: a window manager manages it.
    unsigned long createApplicationWindow(const QString& instance, const QString& className,
                                          qint64 pid);
    void setFrameExtents(unsigned long window, const QMargins& frame);
    void setHidden(unsigned long window);
    void unmap(unsigned long window);
    // Destroys the window but leaves it in the client list, as a list read mid-change has it.
    void destroyKeepingListed(unsigned long window);

    // Publishes the active window (0 for none) and the client list, bottom to top.
    void setActive(unsigned long window);
    void publishStack(const QList<unsigned long>& bottomToTop);
    // A _NET_ACTIVE_WINDOW property that is not a window: a text.
    void setGarbledActive();
    // Removes every property this client set on the root window.
    void clear();

    // Takes the window manager's part: from now on, requests to activate a window come here.
    void actAsWindowManager();
    // The window of the next activation request, if one arrives in a short while.
    std::optional<unsigned long> nextActivationRequest();

private:
    unsigned long show(unsigned long window, qint64 pid, Type type);
    // Replaces a property of 32-bit values (windows, cardinals, atoms) of `type`.
    void setLongs(unsigned long window, const char* property, unsigned long type,
                  const QList<unsigned long>& values);

    bool send(unsigned long keysym, bool down);
    bool sendModifiers(Modifiers modifiers, bool down);

    _XDisplay* display_ = nullptr;
    QList<unsigned long> created_;
};

} // namespace kivaro
