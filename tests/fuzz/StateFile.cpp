// The query tool's state file: every action read must write back to the same action.

#include "tools/query/StateFile.h"

#include "FuzzSupport.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parsed = StateFile::parse(fuzz::bytes(data, size));
    const auto* state = std::get_if<QueryState>(&parsed);
    if (!state)
        return 0;
    for (const auto* commands : {&state->commands, &state->devTools}) {
        for (const Command& command : *commands) {
            const auto action = StateFile::actionFromJson(StateFile::toJson(command.action));
            require(std::holds_alternative<Action>(action) &&
                        std::get<Action>(action) == command.action,
                    "an action survives writing", command.title);
        }
    }
    state->suggestionsFor(QStringLiteral("a"));
    return 0;
}
