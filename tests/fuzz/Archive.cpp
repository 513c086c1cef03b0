// The tab archive file: what decodes must encode back to the same state.

#include "FuzzSupport.h"
#include "store/Archiver.h"

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto state = Archiver::decode(fuzz::bytes(data, size));
    if (!state)
        return 0;
    const auto again = Archiver::decode(Archiver::encode(*state));
    require(again.has_value(), "an encoded state decodes");
    require(*again == *state, "an archive survives encoding");
    return 0;
}
