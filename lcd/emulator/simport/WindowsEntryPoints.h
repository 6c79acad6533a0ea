#pragma once

// The exported functions of the simulated DLPortIO.dll: the twelve entry
// points of the DriverLINX library.
#define DLPORT_EXPORT extern "C" __declspec(dllexport)

#include "platform/PortLibraryEntryPoints.h"
