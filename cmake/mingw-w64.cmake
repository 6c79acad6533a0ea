# Cross build for 64-bit Windows with Debian's mingw-w64 compilers:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DDOTVANE_SHELL=win32
# The programs, the code below them, the Win32 platform implementations and
# their tests are built; the test programs run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DOTVANE_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
