// The hidden-history file: what decodes must encode back to the same set.

#include "store/HiddenHistory.h"

#include "FuzzSupport.h"

using namespace kivaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::requireRoundTrip(fuzz::bytes(data, size), HiddenHistory::decode, HiddenHistory::encode,
                           "a hidden set survives encoding");
    return 0;
}
