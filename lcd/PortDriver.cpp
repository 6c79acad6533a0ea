#include "lcd/PortDriver.h"

#include "app/Host.h"
#include "app/Settings.h"
#include "platform/FileNames.h"

namespace dotvane {
namespace {

TDLPortIO* installed = nullptr;

TDLPortIO& StandIn()
{
    static TDLPortIO component;
    return component;
}

// The KS0108 driver always uses the data and control registers at 888 and
// 890 with 16-bit writes, which touch 889 and 891 as well. The T6963C driver
// uses the data and control registers of Port/Base and, for its busy check,
// the extended control register 0x402 above the base. A ppdev device that
// serves the port is found by the address of its data register.
uint16_t DisplayBase()
{
    return MainSettings.LCD.Type == 1 ? 888 : static_cast<uint16_t>(MainSettings.Port.Base);
}

std::vector<PortRange> DisplayRegisters()
{
    const uint16_t base = DisplayBase();
    if (MainSettings.LCD.Type == 1) return {{base, 4}};
    return {{base, 3}, {static_cast<uint16_t>(base + 0x402), 1}};
}

std::string WithoutTrailingSeparator(std::string folder)
{
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

}  // namespace

TDLPortIO& CurrentPortIO() { return installed ? *installed : StandIn(); }

void InstallPortIO(TDLPortIO* component) { installed = component; }

void OpenPortDriver()
{
    TDLPortIO& port = CurrentPortIO();
    port.DriverPath = WithoutTrailingSeparator(platform::ProgramFolder());
    port.Registers = DisplayRegisters();
    port.Device = MainSettings.Port.Device;
    port.DeviceBase = DisplayBase();
    port.OpenDriver();
    if (port.ActiveHW) return;
    ShowError("Could not open the DriverLINX driver.");
    // Which device was tried and why it failed, for the user to mend.
    if (!port.DeviceProblem.empty()) SetStatusText(port.DeviceProblem);
}

}  // namespace dotvane
