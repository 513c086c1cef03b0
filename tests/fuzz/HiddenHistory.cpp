// The hidden-history file: what decodes must encode back to the same set.

#include "store/HiddenHistory.h"

#include "FuzzSupport.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto hidden = HiddenHistory::decode(fuzz::bytes(data, size));
    if (!hidden)
        return 0;
    require(HiddenHistory::decode(HiddenHistory::encode(*hidden)) == hidden,
            "a hidden set survives encoding");
    return 0;
}
