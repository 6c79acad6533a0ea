#include "lcd/TDLPortIO.h"

#include "platform/FileNames.h"

#include <array>

namespace dotvane {
namespace {

namespace PL = platform::PortLibrary;

constexpr const char* kServiceName = "DLPortIO";
constexpr const char* kDisplayName = "DriverLINX Port I/O Driver";
constexpr const char* kLoadOrderGroup = "SST miniport drivers";

// Access rights of the service control manager and of a service.
constexpr uint32_t kManagerFullAccess = 0x17;     // connect, create, enumerate, query lock
constexpr uint32_t kManagerNoCreateAccess = 0x15; // the same without create
constexpr uint32_t kServiceQueryStatus = 0x0004;
constexpr uint32_t kServiceStart = 0x0010;
constexpr uint32_t kServiceStopAndQuery = 0x0024;
constexpr uint32_t kServiceDelete = 0x10000;
constexpr uint32_t kServiceCreateAccess = 0x10034; // delete, start, stop, query status

std::string WithoutTrailingSeparator(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

template <typename Function>
bool Resolve(platform::LibraryLoader& loader, platform::LibraryHandle library, const char* name,
             Function& function)
{
    function = reinterpret_cast<Function>(loader.Symbol(library, name));
    return function != nullptr;
}

}  // namespace

TDLPortIO::TDLPortIO() : TDLPortIO(platform::SystemServiceManager(), platform::SystemLibraryLoader()) {}

TDLPortIO::TDLPortIO(platform::ServiceManager& services, platform::LibraryLoader& loader)
    : RunningOnNT(services.PlatformIsNT()), services_(services), loader_(loader)
{
}

TDLPortIO::~TDLPortIO()
{
    if (IsLoaded()) CloseDriver();
}

void TDLPortIO::Fail(const char* step, int64_t error)
{
    LastError = std::string(step) + ": Error #" + std::to_string(error);
}

std::string TDLPortIO::DriverFile() const { return DriverPath + "\\" + kServiceName + ".SYS"; }

bool TDLPortIO::ConnectSCM()
{
    manager_ = services_.OpenManager(kManagerFullAccess);
    if (manager_ == 0 && services_.LastError() == platform::kErrorAccessDenied)
        manager_ = services_.OpenManager(kManagerNoCreateAccess);
    if (manager_ == 0) {
        Fail("ConnectSCM", services_.LastError());
        return false;
    }
    return true;
}

void TDLPortIO::DisconnectSCM()
{
    if (manager_ != 0) services_.Close(manager_);
    manager_ = 0;
}

bool TDLPortIO::DriverInstall()
{
    DriverWasInstalled = false;
    if (const platform::ServiceHandle existing = services_.Open(manager_, kServiceName, kServiceQueryStatus)) {
        DriverWasInstalled = true;
        services_.Close(existing);
        return true;
    }
    const platform::ServiceHandle created = services_.Create(
        manager_, kServiceName, kDisplayName, kServiceCreateAccess, platform::kServiceKernelDriver,
        platform::kServiceDemandStart, platform::kServiceErrorNormal, DriverFile(), kLoadOrderGroup);
    if (created == 0) {
        Fail("DriverInstall", services_.LastError());
        return false;
    }
    services_.Close(created);
    return true;
}

bool TDLPortIO::DriverStart()
{
    DriverWasRunning = false;
    int64_t error = 0;
    const platform::ServiceHandle query = services_.Open(manager_, kServiceName, kServiceQueryStatus);
    uint32_t state = 0;
    if (query == 0 || !services_.QueryState(query, state)) {
        error = services_.LastError();
    } else if (state == platform::kServiceRunning) {
        DriverWasRunning = true;
    } else if (state == platform::kServiceStopped) {
        const platform::ServiceHandle starter = services_.Open(manager_, kServiceName, kServiceStart);
        if (starter == 0 || !services_.Start(starter)) error = services_.LastError();
        if (starter != 0) services_.Close(starter);
    } else {
        error = -1;
    }
    if (query != 0) services_.Close(query);
    if (error != 0) {
        Fail("DriverStart", error);
        return false;
    }
    return true;
}

bool TDLPortIO::DriverStop()
{
    if (DriverWasRunning) return true;
    const platform::ServiceHandle service = services_.Open(manager_, kServiceName, kServiceStopAndQuery);
    const bool stopped = service != 0 && services_.Stop(service);
    if (!stopped) Fail("DriverStop", services_.LastError());
    if (service != 0) services_.Close(service);
    return stopped;
}

bool TDLPortIO::DriverRemove()
{
    if (DriverWasInstalled) return true;
    const platform::ServiceHandle service = services_.Open(manager_, kServiceName, kServiceDelete);
    const bool deleted = service != 0 && services_.Delete(service);
    if (!deleted) Fail("DriverRemove", services_.LastError());
    if (service != 0) services_.Close(service);
    return deleted;
}

bool TDLPortIO::ResolveEntryPoints()
{
    EntryPoints found;
    bool all = true;
    all &= Resolve(loader_, library_, PL::kEntryPointNames[0], found.ReadUchar);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[1], found.ReadUshort);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[2], found.ReadUlong);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[3], found.WriteUchar);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[4], found.WriteUshort);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[5], found.WriteUlong);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[6], found.ReadBufferUchar);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[7], found.ReadBufferUshort);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[8], found.ReadBufferUlong);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[9], found.WriteBufferUchar);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[10], found.WriteBufferUshort);
    all &= Resolve(loader_, library_, PL::kEntryPointNames[11], found.WriteBufferUlong);
    if (all) entry_ = found;
    return all;
}

// Where the library can reach the port through a device (Linux: ppdev), it
// is told which device, or which port to find one for, before the registers
// are asked for.
bool TDLPortIO::SelectDevice()
{
    PL::SelectDevice select = nullptr;
    if (!Resolve(loader_, library_, PL::kSelectDeviceName, select)) return true;
    std::array<char, 512> reason{};
    const int32_t error = select(Device.c_str(), DeviceBase, reason.data(), static_cast<uint32_t>(reason.size()));
    if (error == 0) return true;
    reason.back() = '\0';
    DeviceProblem = reason.data();
    Fail("PortDevice", error);
    return false;
}

// Where the library grants access port by port (Linux: I/O permission of
// the process), every register the drivers use must be granted before the
// port counts as open.
bool TDLPortIO::RequestRegisters()
{
    PL::RequestAccess request = nullptr;
    if (!Resolve(loader_, library_, PL::kRequestAccessName, request)) return true;
    for (const PortRange& range : Registers) {
        if (const int32_t error = request(range.First, range.Count); error != 0) {
            Fail("PortAccess", error);
            return false;
        }
    }
    return true;
}

void TDLPortIO::OpenDriver()
{
    if (ActiveHW) return;
    DeviceProblem.clear();
    if (RunningOnNT) {
        if (!ConnectSCM()) return;
        if (!DriverInstall()) {
            DisconnectSCM();
            return;
        }
        if (!DriverStart()) {
            DriverRemove();
            DisconnectSCM();
            return;
        }
    }
    const std::string fileName = loader_.FileName(kServiceName);
    library_ = loader_.Load(DLLPath, fileName);
    if (library_ != nullptr) ActiveHW = ResolveEntryPoints() && SelectDevice() && RequestRegisters();
    if (ActiveHW) Resolve(loader_, library_, PL::kCheckDeviceName, checkDevice_);
    if (!ActiveHW) {
        if (RunningOnNT) {
            DriverStop();
            DriverRemove();
            DisconnectSCM();
        }
        if (library_ != nullptr) loader_.Unload(library_);
        library_ = nullptr;
        entry_ = EntryPoints{};
        checkDevice_ = nullptr;
    }
}

std::optional<PortOpenFailure> TDLPortIO::OpenRegisters(const std::string& device,
                                                        std::span<const PortRange> registers)
{
    DriverPath = WithoutTrailingSeparator(platform::ProgramFolder());
    Registers.assign(registers.begin(), registers.end());
    Device = device;
    // A ppdev device that serves the port is found by the address of its
    // data register.
    DeviceBase = registers.empty() ? 888 : registers.front().First;
    OpenDriver();
    if (ActiveHW) return std::nullopt;
    return PortOpenFailure{kPortOpenError, DeviceProblem};
}

void TDLPortIO::CloseDriver()
{
    if (!ActiveHW) return;
    if (RunningOnNT) {
        if (!(DriverStop() && DriverRemove())) return;
        DisconnectSCM();
    }
    if (loader_.Unload(library_)) {
        ActiveHW = false;
        library_ = nullptr;
        entry_ = EntryPoints{};
        checkDevice_ = nullptr;
    }
}

PortHealth TDLPortIO::Health()
{
    if (checkDevice_ == nullptr) return {};
    std::array<char, 512> device{};
    const int32_t error = checkDevice_(device.data(), static_cast<uint32_t>(device.size()));
    device.back() = '\0';
    return {device.data(), error};
}

uint8_t TDLPortIO::GetPortByte(uint16_t port)
{
    return entry_.ReadUchar ? entry_.ReadUchar(port) : 0xFF;
}

void TDLPortIO::SetPortByte(uint16_t port, uint8_t value)
{
    if (entry_.WriteUchar) entry_.WriteUchar(port, value);
}

void TDLPortIO::SetPortWord(uint16_t port, uint16_t value)
{
    if (entry_.WriteUshort) entry_.WriteUshort(port, value);
}

}  // namespace dotvane
