#!/bin/bash
# Installs the Debian packages that Dotvane needs to build, run and test,
# skipping those that are already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps xdotool fonts-dejavu-core python3 dbus dbus-daemon
  dovecot-pop3d systemd
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64 fonts-wine fonts-liberation
  zlib1g-dev libz-mingw-w64-dev
)
# The 32-bit Windows build's tests run under wine32, a package of the i386
# architecture.
foreign=(wine32:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
missing_foreign=()
for p in "${foreign[@]}"; do
  installed "$p" || missing_foreign+=("$p")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_foreign[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing_foreign[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]} ${missing_foreign[*]}"
# A mirror whose i386 lists lag behind its amd64 ones fails the update of
# those lists alone; what the other lists hold still installs.
$sudo apt-get update -qq || echo "Some package lists could not be updated." >&2
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_foreign[@]} -gt 0 ]; then
  $sudo apt-get install -y -qq --no-install-recommends "${missing_foreign[@]}" ||
    echo "Could not install ${missing_foreign[*]}: the 32-bit Windows tests cannot run." >&2
fi
