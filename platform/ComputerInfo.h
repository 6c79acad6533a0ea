#pragma once

#include "base/ServicePoint.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dotvane::platform {

// Platform identifiers of GetVersionExA.
inline constexpr uint32_t kPlatformWin9x = 1;
inline constexpr uint32_t kPlatformNt = 2;

// The computer's name (GetComputerNameA) and the platform family
// (GetVersionExA).
class ComputerInfo {
public:
    virtual ~ComputerInfo() = default;
    // The name as read into a buffer of `bufferSize` characters, the
    // terminator included: at most bufferSize - 1 characters; empty when the
    // system cannot tell.
    virtual std::string GetComputerName(size_t bufferSize) = 0;
    // kPlatformWin9x, kPlatformNt, or 0 on a system that is neither.
    virtual uint32_t GetPlatformId() = 0;
};

// The system's implementation, created on first use.
ComputerInfo& SystemComputerInfo();
// Where the program finds it: the system's own, or a stand-in a test
// installs.
using ComputerInfoService = ServicePoint<ComputerInfo, SystemComputerInfo>;

}  // namespace dotvane::platform
