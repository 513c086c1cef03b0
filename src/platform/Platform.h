#pragma once

#include <QList>

#include <functional>
#include <memory>

namespace kivaro {

class Browser;
class HotkeyRegistrar;
class LoginItem;
class MenuBarAccess;
class Pasteboard;
class PermissionProbe;
class PrivateFolder;
class SafariSide;
class ScriptRunner;
class WindowList;
class Workspace;

// Every adapter the program talks to the operating system through, built once at start-up by
// makePlatform() and handed down as references. Members are declared in dependency order:
// the browsers and the Safari side refer to the adapters above them, so they go first.
struct Platform {
    using BrowserRef = std::shared_ptr<const Browser>;

    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<WindowList> windows;
    std::unique_ptr<ScriptRunner> scripts;
    std::unique_ptr<PermissionProbe> permissions;
    std::unique_ptr<HotkeyRegistrar> hotkeys;
    std::unique_ptr<LoginItem> loginItem;
    // Where copies of other programs' databases go; only this user can enter it.
    std::unique_ptr<PrivateFolder> snapshots;
    std::unique_ptr<Pasteboard> pasteboard;
    // The browsers the store drives without being asked, in its order; the first is the one it
    // starts on.
    QList<BrowserRef> browsers;
    // Those the user drives only after opting in ("other browsers"), looked up each time since
    // they may be installed while the program runs. Empty where there are none.
    std::function<QList<BrowserRef>()> optInBrowsers;
    std::unique_ptr<MenuBarAccess> menuBar;
    // Safari's tab groups, reveal and archive support; null where there is no Safari.
    std::unique_ptr<SafariSide> safari;

    Platform();
    ~Platform();
    Platform(Platform&&) noexcept;
    Platform& operator=(Platform&&) noexcept;
};

// The adapters of the platform this program was built for. The one place that chooses them:
// only the program and its tools call it.
std::unique_ptr<Platform> makePlatform();

} // namespace kivaro
