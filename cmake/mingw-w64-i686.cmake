# Cross build for 32-bit Windows with Debian's mingw-w64 compilers, for the
# 32-bit port libraries and drivers that a 64-bit program cannot load:
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DDOTVANE_SHELL=win32
# The test programs run under wine (32-bit) in a 32-bit prefix.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DOTVANE_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
