#!/bin/bash
# Installs what is missing, builds, and runs every test: once with g++, then
# once with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# together with the fuzzers for a bounded time, then without any shell (and
# so without Qt), and last the Windows programs with everything below them,
# cross-built for 64-bit and 32-bit Windows and tested under Wine (headless,
# and on a private Xvfb display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DDOTVANE_SANITIZE=ON -DDOTVANE_FUZZ=ON -DDOTVANE_BENCH=OFF
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# The program's logic and everything below it with no shell at all, as
# -DDOTVANE_SHELL=none builds them: none of it may need a toolkit.
cmake -S . -B build-none -G Ninja -DDOTVANE_SHELL=none -DDOTVANE_BENCH=OFF
cmake --build build-none
ctest --test-dir build-none --output-on-failure -j "$jobs"

# The Windows builds, each tested under Wine in a prefix of its own: 64-bit
# under wine64, 32-bit under wine in a 32-bit prefix. Wine runs 32-bit
# Windows programs only as a 32-bit Linux program, which a kernel without
# 32-bit support runs through qemu (install-deps.sh sets that up). Where
# not even that can run, and only there, the 32-bit build is made without
# its test programs, and its files are checked instead.
cross_build() {
  local folder=$1 toolchain=$2
  shift 2
  cmake -S . -B "$folder" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" -DDOTVANE_SHELL=win32 \
    -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$folder"
}
cross_build build-win mingw-w64
ctest --test-dir build-win --output-on-failure -j "$jobs"
if bash scripts/runs-32bit.sh; then
  cross_build build-win32 mingw-w64-i686 -DDOTVANE_TESTS=ON
  ctest --test-dir build-win32 --output-on-failure -j "$jobs"
else
  echo "This machine runs no 32-bit programs, not even emulated, so 32-bit Wine cannot run here: the 32-bit" \
       "Windows build is built and its files checked, not run." >&2
  cross_build build-win32 mingw-w64-i686 -DDOTVANE_TESTS=OFF
  python3 tests/win32/check_windows_build.py build-win32 i386
fi
