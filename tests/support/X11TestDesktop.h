#pragma once

#include <QList>
#include <QRect>
#include <QString>

struct _XDisplay;

namespace kivaro {

// A stand-in window manager for the tests of the X11 adapters: it makes top-level windows
// and publishes the EWMH properties a real window manager keeps (client list, active
// window, process ids, window types, frame extents, hidden state).
class X11TestDesktop {
public:
    enum class Type { none, normal, dialog, dock, utility, desktop };

    struct Frame {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
    };

    explicit X11TestDesktop(const QString& displayName);
    ~X11TestDesktop();
    X11TestDesktop(const X11TestDesktop&) = delete;
    X11TestDesktop& operator=(const X11TestDesktop&) = delete;

    bool isConnected() const { return display_ != nullptr; }

    // A mapped top-level window at `geometry` (root coordinates) owned by `pid` (0: no
    // _NET_WM_PID), added on top of the client list. Returns its id.
    unsigned long createWindow(const QRect& geometry, qint64 pid, Type type = Type::normal);
    void setFrameExtents(unsigned long window, const Frame& frame);
    void setHidden(unsigned long window);
    void unmap(unsigned long window);
    // Destroys the window but leaves it in the client list, as a list read mid-change has it.
    void destroyKeepingListed(unsigned long window);

    // Publishes the active window (0 for none) and the client list, bottom to top.
    void setActive(unsigned long window);
    void publishStack(const QList<unsigned long>& bottomToTop);
    // Removes every property this desktop set on the root window.
    void clear();

    QList<unsigned long> created() const { return created_; }

private:
    void setAtoms(unsigned long window, const char* property, const QList<const char*>& values);
    void setCardinals(unsigned long window, const char* property,
                      const QList<unsigned long>& values);

    _XDisplay* display_ = nullptr;
    QList<unsigned long> created_;
};

} // namespace kivaro
