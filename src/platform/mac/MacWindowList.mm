#include "platform/mac/MacWindowList.h"

#include "platform/WindowInfo.h"

#include <CoreGraphics/CoreGraphics.h>

namespace kivaro {

namespace {

// A value of the entry, not ours to release (Get rule), when it has the wanted type.
CFTypeRef valueOf(CFDictionaryRef entry, CFStringRef key, CFTypeID typeID) {
    const CFTypeRef value = CFDictionaryGetValue(entry, key);
    return value && CFGetTypeID(value) == typeID ? value : nullptr;
}

std::optional<qint64> integerOf(CFDictionaryRef entry, CFStringRef key) {
    const auto number = static_cast<CFNumberRef>(valueOf(entry, key, CFNumberGetTypeID()));
    int64_t value = 0;
    if (!number || !CFNumberGetValue(number, kCFNumberSInt64Type, &value))
        return std::nullopt;
    return value;
}

std::optional<QRectF> boundsOf(CFDictionaryRef entry) {
    const auto bounds =
        static_cast<CFDictionaryRef>(valueOf(entry, kCGWindowBounds, CFDictionaryGetTypeID()));
    CGRect rect = CGRectZero;
    if (!bounds || !CGRectMakeWithDictionaryRepresentation(bounds, &rect))
        return std::nullopt;
    return QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

} // namespace

QList<WindowList::Window> MacWindowList::windows() const {
    const CFArrayRef list = CGWindowListCopyWindowInfo(
        kCGWindowListOptionOnScreenOnly | kCGWindowListExcludeDesktopElements, kCGNullWindowID);
    if (!list)
        return {};
    QList<Window> windows;
    for (CFIndex index = 0; index < CFArrayGetCount(list); ++index) {
        const auto entry = static_cast<CFDictionaryRef>(CFArrayGetValueAtIndex(list, index));
        if (!entry || CFGetTypeID(entry) != CFDictionaryGetTypeID())
            continue;
        const WindowInfo info{.pid = integerOf(entry, kCGWindowOwnerPID),
                              .layer = integerOf(entry, kCGWindowLayer),
                              .bounds = boundsOf(entry)};
        if (const auto window = info.window())
            windows.append(*window);
    }
    CFRelease(list);
    return windows;
}

} // namespace kivaro
