#include "platform/linux/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <mutex>

namespace kivaro {

namespace {

// The handler is one for the whole process, so traps on connections of different threads (the
// workspace answers any thread) take turns.
std::recursive_mutex turns;
Display* trapped = nullptr;
bool caught = false;
int depth = 0;
XErrorHandler previous = nullptr;

int handle(Display* display, XErrorEvent* error) {
    if (display == trapped) {
        caught = true;
        return 0;
    }
    return previous ? previous(display, error) : 0;
}

} // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    turns.lock();
    XSync(display_, False);
    outerDisplay_ = trapped;
    outerCaught_ = caught;
    trapped = display_;
    caught = false;
    // Only the outermost trap installs the handler: an inner one taking ours as "previous"
    // would pass every later error back to itself.
    if (depth++ == 0)
        previous = XSetErrorHandler(&handle);
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    if (--depth == 0)
        XSetErrorHandler(previous);
    trapped = outerDisplay_;
    caught = outerCaught_ || caught;
    turns.unlock();
}

bool ErrorTrap::failed() {
    XSync(display_, False);
    return caught;
}

} // namespace kivaro
