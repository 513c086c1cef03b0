#include "browsers/ChromiumBrowser.h"
#include "browsers/SafariBrowser.h"
#include "browsers/SafariSide.h"
#include "platform/Platform.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "platform/mac/CarbonHotkeyRegistrar.h"
#include "platform/mac/MacLoginItem.h"
#include "platform/mac/MacMenuBarAccess.h"
#include "platform/mac/MacPermissionProbe.h"
#include "platform/mac/MacScriptRunner.h"
#include "platform/mac/MacWindowList.h"
#include "platform/mac/MacWorkspace.h"
#include "platform/qt/SystemPasteboard.h"

namespace kivaro {

// macOS: Safari always, the Chromium family once the user opts in, every browser scripted
// through AppleScript and its menus read through Accessibility. Main thread.
std::unique_ptr<Platform> makePlatform() {
    auto platform = std::make_unique<Platform>();
    platform->workspace = std::make_unique<MacWorkspace>();
    platform->windows = std::make_unique<MacWindowList>();
    platform->scripts = std::make_unique<MacScriptRunner>();
    platform->permissions = std::make_unique<MacPermissionProbe>(*platform->workspace);
    platform->hotkeys = std::make_unique<CarbonHotkeyRegistrar>();
    platform->loginItem = std::make_unique<MacLoginItem>();
    platform->snapshots = PosixPrivateFolder::forSnapshots();
    platform->pasteboard = std::make_unique<SystemPasteboard>();
    platform->menuBar = std::make_unique<MacMenuBarAccess>();
    auto safari = std::make_shared<SafariBrowser>(*platform->scripts, *platform->workspace,
                                                  *platform->menuBar, *platform->snapshots);
    platform->safari = std::make_unique<ScriptedSafariSide>(*safari);
    platform->browsers.append(std::move(safari));
    platform->optInBrowsers = [scripts = platform->scripts.get(),
                               workspace = platform->workspace.get(),
                               snapshots = platform->snapshots.get()] {
        return ChromiumBrowser::installed(*scripts, *workspace, *snapshots);
    };
    return platform;
}

} // namespace kivaro
