#!/bin/bash
# Installs the Debian packages that Dotvane needs to build, run and test,
# skipping those that are already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev xvfb xauth x11-apps xdotool fonts-dejavu-core python3 dbus dbus-daemon
  dovecot-pop3d systemd dbus-tests
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64 fonts-wine fonts-liberation
  zlib1g-dev libz-mingw-w64-dev
  dpkg-dev lintian groff-base man-db
)

# 32-bit Wine, for the tests of the 32-bit Windows build, comes from Debian's
# i386 architecture on a kernel that runs 32-bit programs. A kernel that
# cannot gets them emulated, with Wine in an i386 tree of its own
# (emulate-i386.sh, run once the packages are in).
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
emulate=no
if [ -e /proc/sys/fs/binfmt_misc/dotvane-i386 ] || ! bash "$(dirname "$0")/runs-32bit.sh"; then
  emulate=yes
else
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Where even emulation cannot be set up, scripts/test.sh builds the 32-bit
# programs and checks their files instead of running them.
if [ "$emulate" = yes ]; then
  $sudo bash "$(dirname "$0")/emulate-i386.sh" || true
fi
