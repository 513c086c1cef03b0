#pragma once

#include <vector>

struct _XDisplay;

namespace kivaro {

// The 32-bit items of a window property of the given type, at most `limit` of them (Xlib hands
// them out as longs); empty when the property is missing, of another type or format, or the
// window is gone. Windows and atoms are passed as the unsigned longs Xlib defines them as, so
// that this header does not bring Xlib's macros into Qt code.
std::vector<unsigned long> windowProperty(_XDisplay* display, unsigned long window,
                                          const char* name, unsigned long type, long limit = 4096);

} // namespace kivaro
