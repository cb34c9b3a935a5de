// Smoke test of the cross build: the drive queries answer under Wine as on
// Windows, C: being a fixed NTFS drive and a missing letter an invalid root.
#include <gtest/gtest.h>

#include "lib/System.h"

TEST(HostSystem, FixedNtfsSystemDrive)
{
    zobrel::ISystem& system = zobrel::Hostsystem();
    EXPECT_EQ(system.Drivetype("C:\\"), 3u);
    char szName[8] = {};
    system.Fsname("C:\\", szName, sizeof szName);
    EXPECT_STREQ(szName, "NTFS");
}

TEST(HostSystem, MissingDriveIsAnInvalidRoot)
{
    zobrel::ISystem& system = zobrel::Hostsystem();
    EXPECT_LE(system.Drivetype("Q:\\"), 1u);
    char szName[8] = {'x'};
    system.Fsname("Q:\\", szName, sizeof szName);
    EXPECT_EQ(szName[0], 'x') << "a failed query leaves the buffer alone";
}
