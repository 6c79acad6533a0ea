#pragma once

// The Windows headers as the Win32 implementations use them. Winsock 2 comes
// first, as it must before <windows.h>. The A/W macros that share a name
// with a method of the platform interfaces are removed, so that those
// methods keep their names in the files that include this one.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#undef FindWindow
#undef GetComputerName
#undef GetDiskFreeSpaceEx
#undef GetDriveType
#undef OpenFileMapping
