#pragma once

#include "lcd/TDLPortIO.h"

namespace dotvane {

// The port component the display drivers talk through. The main window owns
// one (DLPortIO1) and installs it for its lifetime; until then a component
// of the process's own stands in, so the drivers always have one.
TDLPortIO& CurrentPortIO();
// nullptr goes back to the stand-in.
void InstallPortIO(TDLPortIO* component);

// Opens the current port component for the display drivers: the kernel
// driver file is expected in the program's folder, and the registers of the
// configured display are asked for. When that fails, the error dialog
// "Could not open the DriverLINX driver." is shown and the program goes on.
void OpenPortDriver();

}  // namespace dotvane
