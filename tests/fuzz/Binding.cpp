// Stored key combinations: what reads must write back to the same combination.

#include "keys/Binding.h"

#include "FuzzSupport.h"

using namespace kivaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto combo = fuzz::requireRoundTrip(fuzz::bytes(data, size), Binding::fromJson,
                                              Binding::toJson, "a binding survives storing");
    if (combo) {
        for (const HotkeyAction action : HotkeyAction::allCases())
            Binding::registrations(*combo, action);
    }
    return 0;
}
