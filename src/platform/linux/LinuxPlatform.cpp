#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/LinuxBrowsers.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPermissionProbe.h"
#include "platform/linux/LinuxScriptRunner.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "platform/linux/X11HotkeyRegistrar.h"
#include "platform/linux/X11WindowList.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/qt/SystemPasteboard.h"

namespace kivaro {

// Linux: the X11 desktop, the Chromium family driven through its DevTools endpoint and Firefox
// through WebDriver BiDi.
// There is no Safari, so no Safari side and nothing to opt into.
std::unique_ptr<Platform> makePlatform() {
    auto platform = std::make_unique<Platform>();
    platform->workspace = std::make_unique<X11Workspace>();
    platform->windows = std::make_unique<X11WindowList>();
    platform->scripts = std::make_unique<LinuxScriptRunner>();
    platform->permissions = std::make_unique<LinuxPermissionProbe>();
    platform->hotkeys = std::make_unique<X11HotkeyRegistrar>();
    platform->loginItem = std::make_unique<XdgAutostart>();
    platform->snapshots = PosixPrivateFolder::forSnapshots();
    platform->pasteboard = std::make_unique<SystemPasteboard>();
    const QList<std::shared_ptr<RemoteBrowser>> driven =
        LinuxBrowsers::browsers(*platform->snapshots);
    for (const auto& browser : driven)
        platform->browsers.append(browser);
    platform->menuBar = std::make_unique<DevToolsMenuBarAccess>(driven);
    return platform;
}

} // namespace kivaro
