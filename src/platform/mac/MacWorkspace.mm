#include "platform/mac/MacWorkspace.h"

#import <AppKit/AppKit.h>

namespace kivaro {

namespace {

Workspace::Application applicationOf(NSRunningApplication* app) {
    return {.bundleID = QString::fromNSString(app.bundleIdentifier),
            .pid = app.processIdentifier,
            .name = QString::fromNSString(app.localizedName)};
}

} // namespace

MacWorkspace::MacWorkspace() {
    id token = [NSWorkspace.sharedWorkspace.notificationCenter
        addObserverForName:NSWorkspaceDidActivateApplicationNotification
                    object:nil
                     queue:NSOperationQueue.mainQueue
                usingBlock:^(NSNotification* notification) {
                  NSRunningApplication* app = notification.userInfo[NSWorkspaceApplicationKey];
                  activated(app ? std::optional(applicationOf(app)) : std::nullopt);
                }];
    observer_ = CFBridgingRetain(token);
}

MacWorkspace::~MacWorkspace() {
    id token = CFBridgingRelease(observer_);
    [NSWorkspace.sharedWorkspace.notificationCenter removeObserver:token];
}

void MacWorkspace::activated(const std::optional<Application>& front) const {
    if (handler_)
        handler_(front);
}

void MacWorkspace::setActivationHandler(ActivationHandler handler) {
    handler_ = std::move(handler);
}

std::optional<Workspace::Application> MacWorkspace::frontApplication() const {
    @autoreleasepool {
        NSRunningApplication* app = NSWorkspace.sharedWorkspace.frontmostApplication;
        return app ? std::optional(applicationOf(app)) : std::nullopt;
    }
}

QList<Workspace::Application> MacWorkspace::runningApplications() const {
    @autoreleasepool {
        QList<Application> running;
        for (NSRunningApplication* app in NSWorkspace.sharedWorkspace.runningApplications)
            running.append(applicationOf(app));
        return running;
    }
}

bool MacWorkspace::isInstalled(const QString& bundleID) const {
    @autoreleasepool {
        return [NSWorkspace.sharedWorkspace
                   URLForApplicationWithBundleIdentifier:bundleID.toNSString()] != nil;
    }
}

// The launch itself finishes later; false only when the application cannot be found.
bool MacWorkspace::launch(const QString& bundleID, bool activate) {
    @autoreleasepool {
        NSURL* url = [NSWorkspace.sharedWorkspace
            URLForApplicationWithBundleIdentifier:bundleID.toNSString()];
        if (!url)
            return false;
        NSWorkspaceOpenConfiguration* configuration = [NSWorkspaceOpenConfiguration configuration];
        configuration.activates = activate;
        [NSWorkspace.sharedWorkspace openApplicationAtURL:url
                                            configuration:configuration
                                        completionHandler:nil];
        return true;
    }
}

bool MacWorkspace::openURL(const QString& url) {
    @autoreleasepool {
        NSURL* address = [NSURL URLWithString:url.toNSString()];
        return address && [NSWorkspace.sharedWorkspace openURL:address];
    }
}

void MacWorkspace::beep() {
    NSBeep();
}

} // namespace kivaro
