# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the
# POSIX-threads variant, which std::thread needs):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DDOTVANE_SHELL=none
# The code below the shells, the Win32 platform implementations and their
# tests are built; the test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DOTVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DOTVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DOTVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DOTVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DOTVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time libraries (libstdc++, libgcc, winpthread) are
# linked in, so the programs and libraries need no DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
