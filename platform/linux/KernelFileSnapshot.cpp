#include "platform/linux/KernelFileSnapshot.h"

#include "platform/linux/RegularFilesLinux.h"

#include <algorithm>

namespace dotvane::platform {
namespace {

// The view that a read with `limit` gives, from an earlier read of the same
// file with a limit at least as large.
FileView Within(FileStatus status, std::string_view bytes, size_t limit)
{
    if (bytes.size() > limit) return FileView{FileStatus::TooLarge, bytes.substr(0, limit)};
    return FileView{status, bytes};
}

}  // namespace

KernelFileSnapshot::KernelFileSnapshot(Reader reader)
    : reader_(reader ? std::move(reader)
                     : Reader([](const std::filesystem::path& file, HeldFile& held, bool mayHold, size_t limit,
                                 std::string& buffer, size_t& length) {
                           return ReadRegularFileInto(file, held, mayHold, limit, buffer, length);
                       }))
{
}

void KernelFileSnapshot::BeginTick()
{
    if (depth_++ > 0) return;
    // Files that the last tick did not read are let go with their buffers;
    // the others keep their buffers for this tick.
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.current) {
            it->second.current = false;
            ++it;
        } else {
            it = entries_.erase(it);
        }
    }
}

void KernelFileSnapshot::EndTick()
{
    if (depth_ > 0) --depth_;
}

FileView KernelFileSnapshot::Read(const std::filesystem::path& file, size_t limit)
{
    const std::string& name = file.native();
    auto it = entries_.find(name);
    if (it == entries_.end()) it = entries_.emplace(name, Entry{}).first;
    Entry& entry = it->second;
    if (!InTick()) return ReadInto(file, limit, entry);
    // A file cut at a smaller limit earlier in the tick is read again for a
    // larger one.
    if (entry.current && (entry.status != FileStatus::TooLarge || limit <= entry.limit))
        return Within(entry.status, std::string_view(entry.buffer.data(), entry.length), limit);
    entry.current = true;
    return ReadInto(file, limit, entry);
}

FileView KernelFileSnapshot::ReadInto(const std::filesystem::path& file, size_t limit, Entry& entry)
{
    const bool mayHold = entry.held.IsHeld() || HeldCount() < kMaxHeld;
    entry.status = reader_(file, entry.held, mayHold, limit, entry.buffer, entry.length);
    entry.limit = limit;
    if (entry.status != FileStatus::Ok && entry.status != FileStatus::TooLarge) entry.length = 0;
    return FileView{entry.status, std::string_view(entry.buffer.data(), entry.length)};
}

size_t KernelFileSnapshot::HeldCount() const
{
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const auto& entry) { return entry.second.held.IsHeld(); }));
}

KernelFileSnapshot& SystemKernelFiles()
{
    static KernelFileSnapshot files;
    return files;
}

}  // namespace dotvane::platform
