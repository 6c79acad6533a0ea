#!/bin/bash
# Installs what is missing, builds, and runs every test: once with g++, then
# once with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# together with the fuzzers for a bounded time, and last the Windows
# programs with everything below them, cross-built for Windows and tested
# under Wine (headless, and on a private Xvfb display).
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

cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DDOTVANE_SHELL=win32 \
  -DCMAKE_BUILD_TYPE=Release
cmake --build build-win
ctest --test-dir build-win --output-on-failure -j "$jobs"
