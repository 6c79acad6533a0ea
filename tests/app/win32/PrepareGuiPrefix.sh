#!/bin/sh
# Creates the Wine prefix of the programs' tests on a display once: the
# prefix of the other Windows tests (PREPARE_SCRIPT makes it), with the X11
# graphics driver in place of the null one.
# Usage: PrepareGuiPrefix.sh WINE WINESERVER PREFIX PREPARE_SCRIPT ARCH (win64 or win32)
set -eu
wine=$1
wineserver=$2
prefix=$3
[ -f "$prefix/.dotvane-gui-ready" ] && exit 0
sh "$4" "$wine" "$wineserver" "$prefix" "$5"
# Wine is shown none of the host's fonts here either (see PREPARE_SCRIPT).
export WINEPREFIX="$prefix" WINEARCH="$5" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= \
  FONTCONFIG_FILE="$(cd "$(dirname "$4")" && pwd)/NoHostFonts.conf"
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f
"$wineserver" -w
touch "$prefix/.dotvane-gui-ready"
