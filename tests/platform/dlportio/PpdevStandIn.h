#pragma once

#include "lcd/emulator/PanelSimulation.h"

#include <string>
#include <vector>

namespace dotvane::test {

// What the stand-in kernel pretends the machine has.
struct PpdevStandInConfig {
    // The one ppdev device there is, and its minor number (its port).
    std::string Device = "/dev/parport0";
    unsigned Minor = 0;
    // When not empty, files under /proc/sys/dev/parport/ are read from
    // ProcRoot/sys/dev/parport/ instead: a fixture tree stands in for the
    // kernel's description of its ports.
    std::string ProcRoot;
    // The error opening the device fails with (EACCES for a user outside the
    // lp group), or 0.
    int OpenError = 0;
    // The device is a character device of some other driver.
    bool NotPpdev = false;
    // Another driver (the printer driver lp) has registered on the port.
    bool OtherDriver = false;
    // The module on the port; its PictureFile is not used.
    emulator::SimulationConfig Panel;
    // When not empty, the module's glass is written there as a PNG after
    // every change, as the simulated port library does.
    std::string PictureFile;
    // Where to append the calls other than register writes, as they happen.
    std::string LogFile;
    // When not empty, a file read at every call of the device that makes it
    // fail while it holds an error's name (see SetFault): "EIO" or "ENODEV".
    std::string FaultFile;
};

// The kernel's side of a ppdev device, standing in front of the C library:
// PpdevStandInCalls.c defines open, fstat, ioctl, close, ioperm and iopl, so
// that a test program linked with it and exporting its symbols, or any
// program it is preloaded into (LD_PRELOAD), reaches it instead of the
// kernel. The device's calls follow the kernel's ppdev and parport_pc
// drivers and go on to a bus-level emulator of a display module on a
// printer port; every other call passes through to the C library. I/O
// permission is always refused, as for a user without CAP_SYS_RAWIO.
//
// A preloaded stand-in reads its configuration from the environment when
// first used: DOTVANE_PPDEV_DEVICE (the device; the stand-in is idle
// without it), DOTVANE_PPDEV_PROC, DOTVANE_PPDEV_LOG, DOTVANE_PPDEV_FAULT
// (the FaultFile), and the module from the DOTVANE_SIM_* variables of the
// simulated port library.
class PpdevStandIn {
public:
    // Starts over with a new machine: closed device, fresh module, no calls.
    static void Reset(const PpdevStandInConfig& config);
    // Stops answering for any device.
    static void Stop();
    // Makes the device fail from now on, until called with 0: with EIO
    // every call fails; ENODEV pulls the adapter, so that calls on the open
    // device fail with ENODEV for good and opening fails with ENOENT until
    // the adapter is back, when a new opening works.
    static void SetFault(int error);
    // The calls since the last Take, one text each: "open /dev/parport0",
    // "PPCLAIM", "PPWDATA 41", "PPRDATA 03", "PPDATADIR 1", "close",
    // "ioperm 888 3", a failure ending in " -> EACCES".
    static std::vector<std::string> TakeCalls();
    static emulator::PanelSimulation& Simulation();
    static bool Claimed();
};

}  // namespace dotvane::test
