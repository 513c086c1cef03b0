#pragma once

#include "platform/Descriptor.h"

#include <QString>

#include <optional>

namespace kivaro {

// Runs AppleScript source text and hands back its result. A script that does not compile or
// fails while running gives nothing; the adapter logs "Kivaro AppleScript error: " with the
// error it got. Calls block until the script has finished, so they belong on a background
// thread; adapters may be called from any thread.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;

    virtual std::optional<Descriptor> run(const QString& source) = 0;
};

} // namespace kivaro
