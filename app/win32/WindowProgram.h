#pragma once

#include "platform/win32/Win32Api.h"

namespace dotvane {

// Runs the program with its window, in the folder of its executable, until
// the window closes; gives the exit status. COM is set up on this thread
// for the image decoder. An error while the window is made is shown in a
// box, and the program then ends with status 0.
int RunWindowProgram(HINSTANCE instance);

}  // namespace dotvane
