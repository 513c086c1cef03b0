#include "platform/linux/LinuxScriptRunner.h"

#include <QtGlobal>

namespace kivaro {

std::optional<Descriptor> LinuxScriptRunner::run(const QString&) {
    if (!logged_.exchange(true))
        qWarning("Kivaro AppleScript error: AppleScript is not available on this system");
    return std::nullopt;
}

} // namespace kivaro
