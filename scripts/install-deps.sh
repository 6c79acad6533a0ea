#!/bin/bash
# Installs the Debian packages that Dotvane needs to build, run and test,
# skipping those that are already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev xvfb xauth x11-apps xdotool fonts-dejavu-core python3 dbus dbus-daemon
  dovecot-pop3d systemd
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64 fonts-wine fonts-liberation
  zlib1g-dev libz-mingw-w64-dev
  dpkg-dev lintian groff-base man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
