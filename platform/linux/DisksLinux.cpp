#include "platform/linux/DisksLinux.h"

#include "platform/FileNames.h"
#include "platform/linux/KernelFiles.h"
#include "platform/linux/SysFiles.h"

#include <sys/statvfs.h>

#include <optional>
#include <system_error>
#include <vector>

namespace dotvane::platform {
namespace {

namespace fs = std::filesystem;

// The fields of one mount table line that the drive type needs.
struct Mount {
    std::string device;  // "major:minor"
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

std::vector<std::string_view> SplitAtBlanks(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

// "id parent major:minor root mountpoint options [optional...] - type source superoptions"
std::optional<Mount> ParseMountLine(std::string_view line)
{
    const auto fields = SplitAtBlanks(line);
    size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (separator + 2 >= fields.size()) return std::nullopt;
    return Mount{std::string(fields[2]), DisksLinux::UnescapeMountField(fields[4]),
                 DisksLinux::UnescapeMountField(fields[separator + 1]),
                 DisksLinux::UnescapeMountField(fields[separator + 2])};
}

// The last mount on `point`: the one on top, which is what the path shows.
std::optional<Mount> FindMount(KernelFileSnapshot& files, const fs::path& mountinfo, const std::string& point)
{
    std::optional<Mount> found;
    const auto text = ReadKernelFile(files, mountinfo);
    if (!text) return found;
    for (std::string_view line : SplitLines(*text)) {
        auto mount = ParseMountLine(line);
        if (mount && mount->mountPoint == point) found = std::move(mount);
    }
    return found;
}

bool IsRemote(const std::string& type)
{
    return type.starts_with("nfs") || type == "cifs" || type == "smb3" || type == "smbfs" || type == "fuse.sshfs";
}

}  // namespace

DisksLinux::DisksLinux(std::filesystem::path procRoot, std::filesystem::path sysRoot, KernelFileSnapshot& files)
    : proc_(std::move(procRoot)), sys_(std::move(sysRoot)), files_(files)
{
}

std::string DisksLinux::UnescapeMountField(std::string_view field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](size_t k) { return k < field.size() && field[k] >= '0' && field[k] <= '7'; };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            text += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool DisksLinux::GetDiskFreeSpaceEx(std::string_view path, DiskSpace& space)
{
    space = DiskSpace{};
    if (path.empty()) return false;
    const std::string native = NativePath(path).string();
    struct statvfs info{};
    if (statvfs(native.c_str(), &info) != 0) return false;
    const uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    space.TotalBytes = static_cast<uint64_t>(info.f_blocks) * unit;
    space.TotalFreeBytes = static_cast<uint64_t>(info.f_bfree) * unit;
    space.FreeBytesAvailable = static_cast<uint64_t>(info.f_bavail) * unit;
    return true;
}

uint32_t DisksLinux::GetDriveType(std::string_view root)
{
    if (root.empty()) return kDriveNoRootDir;
    std::error_code ec;
    const fs::path path = fs::canonical(NativePath(root), ec);
    if (ec) return kDriveNoRootDir;
    const auto mount = FindMount(files_, proc_ / "self" / "mountinfo", path.string());
    if (!mount) return kDriveNoRootDir;
    const std::string& type = mount->fsType;
    if (IsRemote(type)) return kDriveRemote;
    if (type == "iso9660" || type == "udf") return kDriveCdrom;
    if (type == "tmpfs" || type == "ramfs") return kDriveRamDisk;
    return BlockDeviceType(mount->device, mount->source);
}

// Removable when the disk (the partition's parent) says so, fixed for every
// other block device; pseudo file systems, which sit on no block device,
// are of unknown type.
uint32_t DisksLinux::BlockDeviceType(const std::string& device, const std::string& source) const
{
    std::error_code ec;
    fs::path node = sys_ / "dev" / "block" / device;
    if (!fs::exists(node, ec)) {
        // File systems such as btrfs report a device number of their own;
        // the device they were mounted from names the block device.
        if (!source.starts_with("/dev/")) return kDriveUnknown;
        node = sys_ / "class" / "block" / fs::path(source).filename();
        if (!fs::exists(node, ec)) return kDriveFixed;
    }
    std::optional<int64_t> removable = ReadInteger(files_, node / "removable");
    if (!removable && fs::exists(node / "partition", ec)) removable = ReadInteger(files_, node / ".." / "removable");
    return removable.value_or(0) == 1 ? kDriveRemovable : kDriveFixed;
}

Disks& SystemDisks()
{
    static DisksLinux source;
    return source;
}

}  // namespace dotvane::platform
