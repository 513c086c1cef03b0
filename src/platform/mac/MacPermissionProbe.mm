#include "platform/mac/MacPermissionProbe.h"

#include "history/History.h"

#import <ApplicationServices/ApplicationServices.h>
#import <CoreServices/CoreServices.h>
#import <Foundation/Foundation.h>

namespace kivaro {

namespace {

// Whether every Apple event may go to Safari; with `ask` the system may prompt (and block
// until the user answers).
OSStatus automationStatus(bool ask) {
    const QByteArray safari = QByteArrayLiteral("com.apple.Safari");
    AEAddressDesc target{};
    if (AECreateDesc(typeApplicationBundleID, safari.constData(), safari.size(), &target) != noErr)
        return procNotFound;
    const OSStatus status =
        AEDeterminePermissionToAutomateTarget(&target, typeWildCard, typeWildCard, ask);
    AEDisposeDesc(&target);
    return status;
}

void promptForAccessibility() {
    @autoreleasepool {
        NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @YES};
        AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
    }
}

bool fullDiskAccess() {
    const auto folder = History::folder();
    return folder && History::hasAccess(*folder);
}

} // namespace

MacPermissionProbe::MacPermissionProbe(Workspace& workspace)
    : requests_(
          workspace, [] { return int(automationStatus(true)); }, promptForAccessibility) {}

bool MacPermissionProbe::granted(Permission permission) const {
    switch (permission) {
    case Permission::automation:
        return automationStatus(false) == noErr;
    case Permission::accessibility:
        return AXIsProcessTrusted();
    case Permission::fullDisk:
        return fullDiskAccess();
    }
    return false;
}

void MacPermissionProbe::request(Permission permission) {
    requests_.request(permission);
}

} // namespace kivaro
