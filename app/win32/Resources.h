#pragma once

// The ids of the program's resources, shared by the resource script and the
// code (the resource compiler reads only the defines).
#define DOTVANE_ICON 101
