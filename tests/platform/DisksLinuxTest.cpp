#include "platform/linux/DisksLinux.h"

#include "tests/support/TempDir.h"
#include "tests/support/HeldFifo.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace dotvane::platform {
namespace {

namespace fs = std::filesystem;

// A mount table whose mount points are real folders below a temporary
// folder, so that the paths exist; the block devices come from the sysfs
// fixture tree.
class DriveTypeTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        root_ = fs::canonical(dir_.Path()).string();
        for (const char* folder : {"fixed/sub", "usb", "usb disk", "nfs", "share", "ssh", "cdrom", "dvd", "ram",
                                   "pseudo", "btrfs", "snap", "stacked", "vault", "broken", "unmounted"})
            fs::create_directories(dir_.Path() / folder);
        std::ifstream in(DOTVANE_FIXTURES "/disks/mountinfo.in");
        std::stringstream table;
        table << in.rdbuf();
        std::string text = table.str();
        for (size_t at; (at = text.find("@ROOT@")) != std::string::npos;) text.replace(at, 6, root_);
        dir_.Write("proc/self/mountinfo", text);
    }

    uint32_t Type(const std::string& path)
    {
        return DisksLinux(dir_.Path() / "proc", DOTVANE_FIXTURES "/disks/sys").GetDriveType(path);
    }

    test::TempDir dir_;
    std::string root_;
};

TEST_F(DriveTypeTest, ClassifiesMountRoots)
{
    const std::pair<const char*, uint32_t> cases[] = {
        {"/fixed", kDriveFixed},          // partition of a fixed disk
        {"/usb", kDriveRemovable},        // partition of a removable disk
        {"/usb disk", kDriveRemovable},   // whole removable disk; blank escaped in the table
        {"/nfs", kDriveRemote},           {"/share", kDriveRemote},
        {"/ssh", kDriveRemote},           {"/cdrom", kDriveCdrom},
        {"/dvd", kDriveCdrom},            // optional fields before the separator
        {"/ram", kDriveRamDisk},          {"/pseudo", kDriveUnknown},
        {"/btrfs", kDriveFixed},          // own device number, found by its source
        {"/snap", kDriveFixed},           // loop device
        {"/stacked", kDriveRemovable},    // the mount on top counts
        {"/vault", kDriveFixed},          // a block device sysfs does not list
        {"/broken", kDriveNoRootDir},     // malformed line is skipped
        {"/fixed/sub", kDriveNoRootDir},  // a folder, not a root
        {"/unmounted", kDriveNoRootDir},  {"/missing", kDriveNoRootDir},
    };
    for (const auto& [path, type] : cases) EXPECT_EQ(Type(root_ + path), type) << path;
}

TEST_F(DriveTypeTest, AcceptsWindowsStyleNamesAndTrailingSeparators)
{
    std::string windows = root_ + "\\USB\\";
    for (char& c : windows)
        if (c == '/') c = '\\';
    EXPECT_EQ(Type(windows), kDriveRemovable);
    EXPECT_EQ(Type(root_ + "/fixed/"), kDriveFixed);
    EXPECT_EQ(Type(root_ + "/fixed/sub/.."), kDriveFixed);
    EXPECT_EQ(Type(""), kDriveNoRootDir);
}

TEST_F(DriveTypeTest, ReachTheDriveTypeVariable)
{
    DisksLinux disks(dir_.Path() / "proc", DOTVANE_FIXTURES "/disks/sys");
    const DisksService::Scoped installed(disks);
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/usb)"), "Removable");
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/fixed)"), "Fixed");
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/ssh)"), "Remote");
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/dvd)"), "CDROM");
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/ram)"), "RamDisk");
    EXPECT_EQ(ExpandVariable("drivetype(" + root_ + "/fixed/sub)"), "Unknown");
    // The space of the real disk under the temporary folder.
    EXPECT_NE(ExpandVariable("disksize(" + root_ + ")"), "");
    EXPECT_EQ(ExpandVariable("disksize(" + root_ + "/missing)"), "");
}

TEST(DisksLinux, UnescapesMountFields)
{
    EXPECT_EQ(DisksLinux::UnescapeMountField("/media/My\\040Disk"), "/media/My Disk");
    EXPECT_EQ(DisksLinux::UnescapeMountField("a\\011b\\134c\\012"), "a\tb\\c\n");
    // Not an escape: too few digits or not octal.
    EXPECT_EQ(DisksLinux::UnescapeMountField("x\\04"), "x\\04");
    EXPECT_EQ(DisksLinux::UnescapeMountField("x\\089y"), "x\\089y");
}

TEST(DisksLinux, ReportsTheSpaceOfTheDiskHoldingAPath)
{
    test::TempDir dir;
    dir.Write("Data/file.txt", "x");
    DisksLinux disks;
    DiskSpace space;
    ASSERT_TRUE(disks.GetDiskFreeSpaceEx(dir.Folder() + "data\\", space));
    EXPECT_GT(space.TotalBytes, 0u);
    EXPECT_LE(space.TotalFreeBytes, space.TotalBytes);
    EXPECT_LE(space.FreeBytesAvailable, space.TotalFreeBytes);

    space.TotalBytes = 1;
    EXPECT_FALSE(disks.GetDiskFreeSpaceEx(dir.Folder() + "nothing/here", space));
    EXPECT_EQ(space.TotalBytes, 0u);
    EXPECT_FALSE(disks.GetDiskFreeSpaceEx("", space));
}

TEST(DisksLinux, TheRootOfThisMachineIsAMountRoot)
{
    EXPECT_NE(DisksLinux().GetDriveType("/"), kDriveNoRootDir);
    EXPECT_EQ(DisksLinux().GetDriveType("/proc"), kDriveUnknown);
}

TEST(DisksLinux, AFifoAsMountTableIsNotWaitedFor)
{
    test::TempDir proc;
    test::HeldFifo mountinfo(proc.Path() / "self" / "mountinfo",
                             "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n");
    const auto [prompt, type] = test::ReadWhileHeld(
        mountinfo, [&] { return DisksLinux(proc.Path(), DOTVANE_FIXTURES "/disks/sys").GetDriveType("/"); });
    EXPECT_TRUE(prompt);
    EXPECT_EQ(type, kDriveNoRootDir);
}

}  // namespace
}  // namespace dotvane::platform
