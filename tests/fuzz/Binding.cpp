// Stored key combinations: what reads must write back to the same combination.

#include "keys/Binding.h"

#include "FuzzSupport.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto combo = Binding::fromJson(fuzz::bytes(data, size));
    if (!combo)
        return 0;
    require(Binding::fromJson(Binding::toJson(*combo)) == combo, "a binding survives storing");
    for (const HotkeyAction action : HotkeyAction::allCases())
        Binding::registrations(*combo, action);
    return 0;
}
