#pragma once

#include "lcd/ParallelPort.h"
#include "platform/LibraryLoader.h"
#include "platform/PortLibrary.h"
#include "platform/ServiceManager.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dotvane {

// The port I/O component: on the NT family it installs and starts the
// DriverLINX kernel driver as a service when needed; everywhere it loads the
// port library and passes byte and word port accesses to it. While the
// library is not loaded, writes are ignored and reads give 0xFF, so a
// program that failed to open the driver neither faults nor blocks. As the
// display drivers' parallel port it opens for their registers with the
// kernel driver file expected in the program's folder.
class TDLPortIO : public ParallelPort {
public:
    TDLPortIO();
    TDLPortIO(platform::ServiceManager& services, platform::LibraryLoader& loader);
    ~TDLPortIO() override;
    TDLPortIO(const TDLPortIO&) = delete;
    TDLPortIO& operator=(const TDLPortIO&) = delete;

    // Folder of the kernel driver file DLPortIO.SYS.
    std::string DriverPath = "C:\\WINNT\\System32\\DRIVERS";
    // Folder of the port library; empty means the system's library search.
    std::string DLLPath;
    bool ActiveHW = false;
    std::string LastError;
    bool RunningOnNT = false;
    bool DriverWasInstalled = false;
    bool DriverWasRunning = false;
    // The registers to ask access for when the library wants that asked
    // (the Linux library does; there refusal makes opening fail).
    std::vector<PortRange> Registers;
    // The device the Linux library reaches the port through, such as
    // "/dev/parport0"; empty lets it find the device of the port whose data
    // register is at DeviceBase, or use I/O permission when there is none.
    std::string Device;
    uint16_t DeviceBase = 888;
    // Set when opening failed on a device: the device and why, in plain
    // words ("/dev/parport0: permission denied; add the user to the lp
    // group").
    std::string DeviceProblem;

    // Opens the driver (service and library); ActiveHW tells the outcome.
    void OpenDriver();
    void CloseDriver();
    bool IsLoaded() const { return ActiveHW; }

    bool ConnectSCM();
    void DisconnectSCM();
    bool DriverInstall();
    bool DriverStart();
    bool DriverStop();
    bool DriverRemove();

    uint8_t GetPortByte(uint16_t port);
    void SetPortByte(uint16_t port, uint8_t value);
    void SetPortWord(uint16_t port, uint16_t value);

    // ParallelPort
    std::optional<PortOpenFailure> OpenRegisters(const std::string& device,
                                                 std::span<const PortRange> registers) override;
    uint8_t ReadRegister(uint16_t base, PortRegister reg) override
    {
        return GetPortByte(Address(base, reg));
    }
    void WriteRegister(uint16_t base, PortRegister reg, uint8_t value) override
    {
        SetPortByte(Address(base, reg), value);
    }
    void WriteRegisterWord(uint16_t base, PortRegister reg, uint16_t value) override
    {
        SetPortWord(Address(base, reg), value);
    }
    // Asks the library's optional entry point (the Linux library has it);
    // a library without it, or a component that is not open, answers.
    PortHealth Health() override;

private:
    struct EntryPoints {
        platform::PortLibrary::ReadUchar ReadUchar = nullptr;
        platform::PortLibrary::ReadUshort ReadUshort = nullptr;
        platform::PortLibrary::ReadUlong ReadUlong = nullptr;
        platform::PortLibrary::WriteUchar WriteUchar = nullptr;
        platform::PortLibrary::WriteUshort WriteUshort = nullptr;
        platform::PortLibrary::WriteUlong WriteUlong = nullptr;
        platform::PortLibrary::ReadBufferUchar ReadBufferUchar = nullptr;
        platform::PortLibrary::ReadBufferUshort ReadBufferUshort = nullptr;
        platform::PortLibrary::ReadBufferUlong ReadBufferUlong = nullptr;
        platform::PortLibrary::WriteBufferUchar WriteBufferUchar = nullptr;
        platform::PortLibrary::WriteBufferUshort WriteBufferUshort = nullptr;
        platform::PortLibrary::WriteBufferUlong WriteBufferUlong = nullptr;
    };

    bool ResolveEntryPoints();
    bool SelectDevice();
    bool RequestRegisters();
    std::string DriverFile() const;
    void Fail(const char* step, int64_t error);

    platform::ServiceManager& services_;
    platform::LibraryLoader& loader_;
    platform::ServiceHandle manager_ = 0;
    platform::LibraryHandle library_ = nullptr;
    EntryPoints entry_;
    platform::PortLibrary::CheckDevice checkDevice_ = nullptr;
};

}  // namespace dotvane
