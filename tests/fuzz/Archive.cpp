// The tab archive file: what decodes must encode back to the same state.

#include "FuzzSupport.h"
#include "store/Archiver.h"

using namespace kivaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::requireRoundTrip(fuzz::bytes(data, size), Archiver::decode, Archiver::encode,
                           "an archive survives encoding");
    return 0;
}
