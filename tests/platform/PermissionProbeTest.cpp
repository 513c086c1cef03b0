#include "platform/PermissionProbe.h"
#ifndef Q_OS_MACOS
#include "platform/linux/LinuxPermissionProbe.h"
#endif

#include <gtest/gtest.h>

namespace kivaro {
namespace {

#ifndef Q_OS_MACOS
TEST(LinuxPermissionProbe, GrantsEveryPermissionAndNeedsNoRequest) {
    LinuxPermissionProbe probe;
    for (Permission permission : PermissionProbe::allCases()) {
        probe.request(permission);
        EXPECT_TRUE(probe.granted(permission));
    }
}
#endif

} // namespace
} // namespace kivaro
