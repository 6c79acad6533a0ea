#include "FakePortLibrary.h"

#include <algorithm>
#include <stdexcept>

namespace dotvane::test {
namespace {

FakePortLibrary* current = nullptr;
int libraryToken = 0;

PortTarget& Target() { return FakePortLibrary::Current().Target(); }

uint8_t DLPORT_CALL ReadUchar(uint32_t port) { return static_cast<uint8_t>(Target().Read(port, 1)); }
uint16_t DLPORT_CALL ReadUshort(uint32_t port) { return static_cast<uint16_t>(Target().Read(port, 2)); }
uint32_t DLPORT_CALL ReadUlong(uint32_t port) { return Target().Read(port, 4); }
void DLPORT_CALL WriteUchar(uint32_t port, uint8_t value) { Target().Write(port, value, 1); }
void DLPORT_CALL WriteUshort(uint32_t port, uint16_t value) { Target().Write(port, value, 2); }
void DLPORT_CALL WriteUlong(uint32_t port, uint32_t value) { Target().Write(port, value, 4); }
template <typename Value>
void DLPORT_CALL ReadBuffer(uint32_t port, Value* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) buffer[i] = static_cast<Value>(Target().Read(port, sizeof(Value)));
}
template <typename Value>
void DLPORT_CALL WriteBuffer(uint32_t port, const Value* buffer, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) Target().Write(port, buffer[i], sizeof(Value));
}
int32_t DLPORT_CALL RequestAccess(uint32_t port, uint32_t count)
{
    FakePortLibrary::Current().AccessRequests.emplace_back(port, count);
    return FakePortLibrary::Current().AccessError;
}

int32_t DLPORT_CALL CheckDevice(char* device, uint32_t deviceSize)
{
    FakePortLibrary& library = FakePortLibrary::Current();
    ++library.DeviceChecks;
    const std::string& name = library.Device.Device;
    const size_t length = std::min<size_t>(name.size(), deviceSize - 1);
    std::copy_n(name.begin(), length, device);
    device[length] = '\0';
    return library.Device.Error;
}

template <typename Function>
void* Address(Function function)
{
    return reinterpret_cast<void*>(function);
}

}  // namespace

FakePortLibrary::FakePortLibrary(PortTarget& target) : target_(target)
{
    if (current) throw std::logic_error("only one fake port library at a time");
    current = this;
}

FakePortLibrary::~FakePortLibrary() { current = nullptr; }

FakePortLibrary& FakePortLibrary::Current() { return *current; }

platform::LibraryHandle FakePortLibrary::Load(const std::string& folder, const std::string& fileName)
{
    Loads.emplace_back(folder, fileName);
    if (LoadFails) return nullptr;
    loaded_ = true;
    return &libraryToken;
}

void* FakePortLibrary::Symbol(platform::LibraryHandle library, const std::string& name)
{
    if (library != &libraryToken || !loaded_ || Missing.count(name)) return nullptr;
    namespace PL = platform::PortLibrary;
    if (name == "DlPortReadPortUchar") return Address<PL::ReadUchar>(ReadUchar);
    if (name == "DlPortReadPortUshort") return Address<PL::ReadUshort>(ReadUshort);
    if (name == "DlPortReadPortUlong") return Address<PL::ReadUlong>(ReadUlong);
    if (name == "DlPortWritePortUchar") return Address<PL::WriteUchar>(WriteUchar);
    if (name == "DlPortWritePortUshort") return Address<PL::WriteUshort>(WriteUshort);
    if (name == "DlPortWritePortUlong") return Address<PL::WriteUlong>(WriteUlong);
    if (name == "DlPortReadPortBufferUchar") return Address<PL::ReadBufferUchar>(ReadBuffer<uint8_t>);
    if (name == "DlPortReadPortBufferUshort") return Address<PL::ReadBufferUshort>(ReadBuffer<uint16_t>);
    if (name == "DlPortReadPortBufferUlong") return Address<PL::ReadBufferUlong>(ReadBuffer<uint32_t>);
    if (name == "DlPortWritePortBufferUchar") return Address<PL::WriteBufferUchar>(WriteBuffer<uint8_t>);
    if (name == "DlPortWritePortBufferUshort") return Address<PL::WriteBufferUshort>(WriteBuffer<uint16_t>);
    if (name == "DlPortWritePortBufferUlong") return Address<PL::WriteBufferUlong>(WriteBuffer<uint32_t>);
    if (name == "DlPortRequestAccess") return Address<PL::RequestAccess>(RequestAccess);
    if (name == "DlPortCheckDevice") return Address<PL::CheckDevice>(CheckDevice);
    return nullptr;
}

bool FakePortLibrary::Unload(platform::LibraryHandle library)
{
    if (library != &libraryToken || !loaded_ || UnloadFails) return false;
    ++Unloads;
    loaded_ = false;
    return true;
}

std::vector<uint32_t> RecordingPort::WritesTo(uint32_t port, int width) const
{
    std::vector<uint32_t> values;
    for (const Access& access : Log) {
        if (access.IsWrite && access.Port == port && access.Width == width) values.push_back(access.Value);
    }
    return values;
}

int RecordingPort::WriteCount() const
{
    return static_cast<int>(std::count_if(Log.begin(), Log.end(), [](const Access& a) { return a.IsWrite; }));
}

}  // namespace dotvane::test
