#include "platform/linux/X11Properties.h"

#include "platform/linux/X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace kivaro {

std::vector<unsigned long> windowProperty(Display* display, unsigned long window, const char* name,
                                          unsigned long type, long limit) {
    ErrorTrap trap(display);
    const Atom property = XInternAtom(display, name, False);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, limit, False, type,
                                          &actualType, &format, &count, &remaining, &data);
    std::vector<unsigned long> values;
    if (status == Success && !trap.failed() && data && actualType == type && format == 32) {
        const auto* longs = reinterpret_cast<const unsigned long*>(data);
        values.assign(longs, longs + count);
    }
    if (data)
        XFree(data);
    return values;
}

} // namespace kivaro
