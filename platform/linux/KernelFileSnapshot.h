#pragma once

#include "platform/RegularFiles.h"
#include "platform/linux/RegularFilesLinux.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace dotvane::platform {

// What one read of a file found: the bytes as ReadRegularFile gives them.
struct FileView {
    FileStatus status = FileStatus::Missing;
    std::string_view bytes;
};

// The files of /proc and /sys as the system's sources see them. While a
// refresh tick is open, each file is read at most once, and every source
// that asks for it again during the tick gets what that read found, so that
// the variables and counters of one tick agree and cost one read per file.
// Outside a tick every request reads the file anew.
//
// Every file is read into a buffer of its own that is kept while the file
// is read at every tick, so a tick allocates nothing once the buffers have
// grown to the files' sizes; a file that a tick leaves unread is let go when
// the next one begins. The bytes of a view stay valid until the same file is
// read again: outside a tick at its next request, in a tick only after the
// tick (or when it is asked for with a larger limit than it was cut at).
//
// A kernel file stays open as long as its entry is kept (HeldFile), up to
// kMaxHeld files, so that a tick reads each one with a single system call.
class KernelFileSnapshot {
public:
    // How a file is read; ReadRegularFileInto through the entry's held file
    // unless a test counts reads.
    using Reader = std::function<FileStatus(const std::filesystem::path& file, HeldFile& held, bool mayHold,
                                            size_t limit, std::string& buffer, size_t& length)>;

    // The most files held open at once; files beyond them are opened at
    // every read, which leaves descriptors for everything else however many
    // sensor files a machine has.
    static constexpr size_t kMaxHeld = 128;

    explicit KernelFileSnapshot(Reader reader = {});

    // Opens a tick; a tick opened inside another is part of it. What the
    // previous tick read is forgotten.
    void BeginTick();
    // Closes the tick that BeginTick opened.
    void EndTick();
    bool InTick() const { return depth_ > 0; }

    // The file read with ReadRegularFile's rules and `limit`.
    FileView Read(const std::filesystem::path& file, size_t limit);

private:
    struct Entry {
        FileStatus status = FileStatus::Missing;
        size_t limit = 0;
        std::string buffer;
        size_t length = 0;
        HeldFile held;
        // Whether the file was read in the tick that is open or, between
        // ticks, in the last one.
        bool current = false;
    };

    FileView ReadInto(const std::filesystem::path& file, size_t limit, Entry& entry);
    size_t HeldCount() const;

    Reader reader_;
    int depth_ = 0;
    std::map<std::string, Entry, std::less<>> entries_;
};

// The snapshot that the system's own sources share.
KernelFileSnapshot& SystemKernelFiles();

}  // namespace dotvane::platform
