#pragma once

// The Windows headers as the Windows shell uses them: lean, and without the
// min and max macros. The shell calls the ANSI functions by their "A" names,
// since the program's text is in the ANSI code page.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
