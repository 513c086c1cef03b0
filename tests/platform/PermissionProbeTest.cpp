#include "platform/fake/FakePermissionProbe.h"
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

TEST(FakePermissionProbe, ReportsWhatTheTestSetsAndRecordsRequests) {
    FakePermissionProbe probe;
    EXPECT_TRUE(probe.granted(Permission::accessibility));
    probe.setGranted(Permission::accessibility, false);
    probe.setGranted(Permission::accessibility, false);
    EXPECT_FALSE(probe.granted(Permission::accessibility));
    EXPECT_TRUE(probe.granted(Permission::fullDisk));
    probe.request(Permission::accessibility);
    probe.setGranted(Permission::accessibility, true);
    EXPECT_TRUE(probe.granted(Permission::accessibility)) << "one grant undoes any denials";
    EXPECT_EQ(probe.requests(), QList<Permission>{Permission::accessibility});
}

} // namespace
} // namespace kivaro
