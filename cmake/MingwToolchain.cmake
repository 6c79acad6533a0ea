# The part of the two Windows toolchains that they share: Debian's mingw-w64
# compilers (the POSIX-threads variant, which std::thread needs) for the
# target named by DOTVANE_MINGW_PREFIX, set by the toolchain file that
# includes this one.
set(CMAKE_SYSTEM_NAME Windows)

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
