// A stand-in for DLPortIO.dll: the twelve entry points of the DriverLINX
// port library, which touch no port but record every access. Built a second
// time without "DlPortWritePortBufferUlong" (DOTVANE_FAKE_WITHOUT_WRITE_BUFFER_ULONG)
// for the tests of a library that lacks an entry point.
#include "tests/win32/FakeDlPortIO.h"

#include <vector>

#define FAKE_EXPORT extern "C" __declspec(dllexport)

namespace {

using dotvane::test::FakeDlPortIO::Access;

std::vector<Access> accesses;
uint32_t answer = 0xFFFFFFFFu;

uint32_t Cut(uint32_t value, uint32_t width) { return width >= 4 ? value : value & ((1u << (8 * width)) - 1); }

void Write(uint32_t port, uint32_t value, uint32_t width) { accesses.push_back({1, port, Cut(value, width), width}); }

uint32_t Read(uint32_t port, uint32_t width)
{
    const uint32_t value = Cut(answer, width);
    accesses.push_back({0, port, value, width});
    return value;
}

template <typename T>
void ReadBuffer(uint32_t port, T* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) buffer[i] = static_cast<T>(Read(port, sizeof(T)));
}

template <typename T>
void WriteBuffer(uint32_t port, const T* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) Write(port, buffer[i], sizeof(T));
}

}  // namespace

FAKE_EXPORT uint8_t __stdcall DlPortReadPortUchar(uint32_t port) { return static_cast<uint8_t>(Read(port, 1)); }
FAKE_EXPORT uint16_t __stdcall DlPortReadPortUshort(uint32_t port) { return static_cast<uint16_t>(Read(port, 2)); }
FAKE_EXPORT uint32_t __stdcall DlPortReadPortUlong(uint32_t port) { return Read(port, 4); }
FAKE_EXPORT void __stdcall DlPortWritePortUchar(uint32_t port, uint8_t value) { Write(port, value, 1); }
FAKE_EXPORT void __stdcall DlPortWritePortUshort(uint32_t port, uint16_t value) { Write(port, value, 2); }
FAKE_EXPORT void __stdcall DlPortWritePortUlong(uint32_t port, uint32_t value) { Write(port, value, 4); }
FAKE_EXPORT void __stdcall DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count)
{
    ReadBuffer(port, buffer, count);
}
FAKE_EXPORT void __stdcall DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count)
{
    ReadBuffer(port, buffer, count);
}
FAKE_EXPORT void __stdcall DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count)
{
    ReadBuffer(port, buffer, count);
}
FAKE_EXPORT void __stdcall DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer, uint32_t count)
{
    WriteBuffer(port, buffer, count);
}
FAKE_EXPORT void __stdcall DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer, uint32_t count)
{
    WriteBuffer(port, buffer, count);
}
#ifndef DOTVANE_FAKE_WITHOUT_WRITE_BUFFER_ULONG
FAKE_EXPORT void __stdcall DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer, uint32_t count)
{
    WriteBuffer(port, buffer, count);
}
#endif

FAKE_EXPORT uint32_t FakePortLog(const Access** log)
{
    *log = accesses.data();
    return static_cast<uint32_t>(accesses.size());
}
FAKE_EXPORT void FakePortClear() { accesses.clear(); }
FAKE_EXPORT void FakePortAnswer(uint32_t value) { answer = value; }
