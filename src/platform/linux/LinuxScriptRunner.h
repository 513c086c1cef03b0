#pragma once

#include "platform/ScriptRunner.h"

#include <atomic>

namespace kivaro {

// AppleScript does not exist on Linux: every script fails. The first failure is logged, the
// rest are not, so a refresh loop does not flood the log.
class LinuxScriptRunner : public ScriptRunner {
public:
    std::optional<Descriptor> run(const QString& source) override;

private:
    std::atomic<bool> logged_ = false;
};

} // namespace kivaro
