#!/bin/bash
# Installs what is missing, builds, and starts Dotvane on the bundled example
# configuration (copied next to the program in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
cd build/bin
exec ./dotvane "$@"
