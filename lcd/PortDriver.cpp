#include "lcd/PortDriver.h"

#include "app/Host.h"
#include "config/Settings.h"
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
// the extended control register 0x402 above the base.
std::vector<PortRange> DisplayRegisters()
{
    if (MainSettings.LCD.Type == 1) return {{888, 4}};
    const auto base = static_cast<uint16_t>(MainSettings.Port.Base);
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
    port.OpenDriver();
    if (!port.ActiveHW) ShowError("Could not open the DriverLINX driver.");
}

}  // namespace dotvane
