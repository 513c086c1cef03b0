#include "platform/Platform.h"

#include "browsers/Browser.h"
#include "browsers/SafariSide.h"
#include "platform/HotkeyRegistrar.h"
#include "platform/LoginItem.h"
#include "platform/MenuBarAccess.h"
#include "platform/Pasteboard.h"
#include "platform/PermissionProbe.h"
#include "platform/PrivateFolder.h"
#include "platform/ScriptRunner.h"
#include "platform/WindowList.h"
#include "platform/Workspace.h"

namespace kivaro {

// Out of line, where every adapter type is complete.
Platform::Platform() = default;
Platform::~Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform& Platform::operator=(Platform&&) noexcept = default;

} // namespace kivaro
