#include "platform/mac/MacMenuBarAccess.h"

#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>

namespace kivaro {

namespace {

// Takes over one reference the caller owns (a Create or Copy result, or one it retained).
// A null reference gives an empty element: nothing may ever release it.
MenuElement adopt(AXUIElementRef element) {
    if (!element)
        return {};
    return MenuElement{
        std::shared_ptr<const void>(element, [](const void* held) { CFRelease(held); })};
}

AXUIElementRef elementOf(const MenuElement& element) {
    return static_cast<AXUIElementRef>(const_cast<void*>(element.handle.get()));
}

// The attribute's value when it is of `typeID`, owned by the caller; null otherwise.
CFTypeRef copyAttribute(const MenuElement& element, CFStringRef attribute, CFTypeID typeID) {
    if (!element.handle)
        return nullptr;
    CFTypeRef value = nullptr;
    if (AXUIElementCopyAttributeValue(elementOf(element), attribute, &value) != kAXErrorSuccess)
        return nullptr;
    if (value && CFGetTypeID(value) == typeID)
        return value;
    if (value)
        CFRelease(value);
    return nullptr;
}

std::optional<QString> stringAttribute(const MenuElement& element, CFStringRef attribute) {
    const auto value =
        static_cast<CFStringRef>(copyAttribute(element, attribute, CFStringGetTypeID()));
    if (!value)
        return std::nullopt;
    const QString text = QString::fromCFString(value);
    CFRelease(value);
    return text;
}

} // namespace

bool MacMenuBarAccess::trusted() const {
    return AXIsProcessTrusted();
}

std::optional<MenuElement> MacMenuBarAccess::menuBar(const QString& bundleID) const {
    @autoreleasepool {
        NSRunningApplication* app =
            [NSRunningApplication runningApplicationsWithBundleIdentifier:bundleID.toNSString()]
                .firstObject;
        if (!app)
            return std::nullopt;
        const MenuElement application = adopt(AXUIElementCreateApplication(app.processIdentifier));
        const auto bar = static_cast<AXUIElementRef>(
            copyAttribute(application, kAXMenuBarAttribute, AXUIElementGetTypeID()));
        if (!bar)
            return std::nullopt;
        return adopt(bar);
    }
}

QList<MenuElement> MacMenuBarAccess::children(const MenuElement& element) const {
    const auto array =
        static_cast<CFArrayRef>(copyAttribute(element, kAXChildrenAttribute, CFArrayGetTypeID()));
    if (!array)
        return {};
    QList<MenuElement> children;
    for (CFIndex index = 0; index < CFArrayGetCount(array); ++index) {
        // Items of the array are not ours (Get rule): retain the ones we keep.
        const CFTypeRef child = CFArrayGetValueAtIndex(array, index);
        if (child && CFGetTypeID(child) == AXUIElementGetTypeID())
            children.append(adopt(static_cast<AXUIElementRef>(CFRetain(child))));
    }
    CFRelease(array);
    return children;
}

QString MacMenuBarAccess::title(const MenuElement& element) const {
    return stringAttribute(element, kAXTitleAttribute).value_or(QString());
}

bool MacMenuBarAccess::enabled(const MenuElement& element) const {
    const auto value = static_cast<CFBooleanRef>(
        copyAttribute(element, kAXEnabledAttribute, CFBooleanGetTypeID()));
    if (!value)
        return false;
    const bool on = CFBooleanGetValue(value);
    CFRelease(value);
    return on;
}

std::optional<QString> MacMenuBarAccess::keyCharacter(const MenuElement& element) const {
    return stringAttribute(element, kAXMenuItemCmdCharAttribute);
}

std::optional<qint64> MacMenuBarAccess::keyModifiers(const MenuElement& element) const {
    const auto value = static_cast<CFNumberRef>(
        copyAttribute(element, kAXMenuItemCmdModifiersAttribute, CFNumberGetTypeID()));
    if (!value)
        return std::nullopt;
    int64_t raw = 0;
    const bool read = CFNumberGetValue(value, kCFNumberSInt64Type, &raw);
    CFRelease(value);
    return read ? std::optional<qint64>(raw) : std::nullopt;
}

bool MacMenuBarAccess::press(const MenuElement& element) {
    return element.handle &&
           AXUIElementPerformAction(elementOf(element), kAXPressAction) == kAXErrorSuccess;
}

} // namespace kivaro
