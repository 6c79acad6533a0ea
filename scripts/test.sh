#!/bin/bash
# Installs what is missing, builds, and runs every test: once with g++, then
# once with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# together with the fuzzers for a bounded time, and last the portable code
# with the Win32 implementations, cross-built for 64-bit and 32-bit Windows
# and tested under Wine.
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

# The Windows builds, each tested under Wine in a prefix of its own: 64-bit
# under wine64, 32-bit under wine in a 32-bit prefix.
cross_build() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$2.cmake" -DDOTVANE_SHELL=none -DCMAKE_BUILD_TYPE=Release
  cmake --build "$1"
}
cross_build build-win mingw-w64
ctest --test-dir build-win --output-on-failure -j "$jobs"
cross_build build-win32 mingw-w64-i686
if [ -x /usr/lib/wine/wine ]; then
  ctest --test-dir build-win32 --output-on-failure -j "$jobs"
else
  echo "wine32 is not installed: the 32-bit Windows tests were built but not run." >&2
fi
