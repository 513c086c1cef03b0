#include "platform/linux/X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace kivaro {

namespace {

std::mutex turns;
Display* trapped = nullptr;
bool caught = false;
XErrorHandler previous = nullptr;

int handle(Display* display, XErrorEvent* error) {
    if (display == trapped) {
        caught = true;
        return 0;
    }
    return previous ? previous(display, error) : 0;
}

} // namespace

ErrorTrap::ErrorTrap(Display* display) : turn_(turns), display_(display) {
    XSync(display_, False);
    trapped = display_;
    caught = false;
    previous = XSetErrorHandler(&handle);
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous);
    trapped = nullptr;
}

bool ErrorTrap::failed() {
    XSync(display_, False);
    return caught;
}

} // namespace kivaro
