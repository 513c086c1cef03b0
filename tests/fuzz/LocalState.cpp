// Chromium's "Local State": the profiles it lists must be single folder names, sorted.

#include "FuzzSupport.h"
#include "history/ChromiumHistory.h"

#include <algorithm>

using namespace kivaro;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchFile(QStringLiteral("Local State"), fuzz::bytes(data, size));
    const QStringList profiles = ChromiumHistory::profiles(fuzz::scratchFolder());
    require(!profiles.isEmpty(), "there is always a profile");
    require(std::is_sorted(profiles.begin(), profiles.end()), "profiles are sorted");
    for (const QString& name : profiles)
        require(!name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
                    !name.contains(u'\\') && !name.contains(QChar(0)),
                "a profile is one folder name", name);
    return 0;
}
