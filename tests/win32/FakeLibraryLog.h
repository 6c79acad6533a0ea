#pragma once

#include "tests/lcd/FakePortLibrary.h"
#include "tests/win32/FakeDlPortIO.h"

#include "platform/win32/Win32Api.h"

#include <vector>

namespace dotvane::test {

// The accesses that the loaded copy of the fake DLPortIO.dll recorded,
// read through its own extra entry point; empty when it is not loaded.
inline std::vector<RecordingPort::Access> FakeLibraryLog()
{
    const HMODULE library = ::GetModuleHandleA("DLPortIO.dll");
    if (library == nullptr) return {};
    const auto log = reinterpret_cast<FakeDlPortIO::LogFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "FakePortLog")));
    if (log == nullptr) return {};
    const FakeDlPortIO::Access* accesses = nullptr;
    const uint32_t count = log(&accesses);
    std::vector<RecordingPort::Access> result;
    for (uint32_t i = 0; i < count; ++i) {
        const FakeDlPortIO::Access& a = accesses[i];
        result.push_back({a.IsWrite != 0, a.Port, a.Value, static_cast<int>(a.Width)});
    }
    return result;
}

// Calls one of the fake library's extra entry points by name.
template <typename Function, typename... Arguments>
void CallFakeLibrary(const char* name, Arguments... arguments)
{
    const HMODULE library = ::GetModuleHandleA("DLPortIO.dll");
    if (library == nullptr) return;
    const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    if (function != nullptr) function(arguments...);
}

}  // namespace dotvane::test
