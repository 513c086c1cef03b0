#pragma once

#include "platform/KeyCombo.h"

#include <QList>
#include <QString>

#include <optional>

struct _XDisplay;

namespace kivaro {

// Another X client, for the tests of the X11 adapters: it types keys through the XTest
// extension, as a keyboard would, and grabs keys as a competing program would.
class X11TestClient {
public:
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

    // Press and release Caps Lock or Num Lock, which switches its lock state.
    bool toggleCapsLock();
    bool toggleNumLock();

    // A passive grab on the root window, as a competing program would hold it.
    bool grab(const KeyCombo& keys);

    // A window with this WM_CLASS and, if given, _NET_WM_PID, as an application would map it.
    unsigned long createWindow(const QString& instance, const QString& className,
                               std::optional<quint32> pid);
    void destroyWindow(unsigned long window);
    // Root window properties as a window manager keeps them.
    void setActiveWindow(unsigned long window);
    void setClientList(const QList<unsigned long>& windows);
    // A _NET_ACTIVE_WINDOW property that is not a window: a text.
    void setGarbledActiveWindow();
    void removeActiveWindow();

    // Takes the window manager's part: from now on, requests to activate a window come here.
    void actAsWindowManager();
    // The window of the next activation request, if one arrives in a short while.
    std::optional<unsigned long> nextActivationRequest();

private:
    bool tap(unsigned long keysym);
    bool send(unsigned long keysym, bool down);
    bool sendModifiers(Modifiers modifiers, bool down);

    _XDisplay* display_ = nullptr;
};

} // namespace kivaro
