#pragma once

#include "platform/linux/KernelFileSnapshot.h"
#include "platform/linux/RegularFilesLinux.h"

#include <filesystem>
#include <map>
#include <string>

namespace dotvane::test {

// A snapshot of the kernel's files that reads them as the system's does and
// counts how often each one was read (Linux only).
class CountingFiles {
public:
    CountingFiles()
        : snapshot([this](const std::filesystem::path& file, platform::HeldFile& held, bool mayHold, size_t limit,
                          std::string& buffer, size_t& length) {
              ++reads[file.string()];
              return platform::ReadRegularFileInto(file, held, mayHold, limit, buffer, length);
          })
    {
    }
    CountingFiles(const CountingFiles&) = delete;
    CountingFiles& operator=(const CountingFiles&) = delete;

    int ReadsOf(const std::filesystem::path& file) const
    {
        const auto it = reads.find(file.string());
        return it == reads.end() ? 0 : it->second;
    }
    // The files read since the last call, with how often each was read.
    std::map<std::string, int> Take()
    {
        std::map<std::string, int> taken;
        taken.swap(reads);
        return taken;
    }

    std::map<std::string, int> reads;
    platform::KernelFileSnapshot snapshot;
};

}  // namespace dotvane::test
