#pragma once

#include "platform/ScriptRunner.h"

#include <mutex>

namespace kivaro {

// AppleScript through NSAppleScript: the source is compiled and run, and its result copied
// into a Descriptor. Scripts run one at a time, whatever thread asks.
class MacScriptRunner final : public ScriptRunner {
public:
    std::optional<Descriptor> run(const QString& source) override;

private:
    std::mutex running_;
};

} // namespace kivaro
