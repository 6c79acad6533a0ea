#!/bin/sh
# Creates the Wine prefix of the Windows test run once: Wine's start-up
# configuration, and the null graphics driver so that windows can exist
# without a display. Usage: PrepareWinePrefix.sh WINE WINESERVER PREFIX
set -eu
wine=$1
wineserver=$2
export WINEPREFIX="$3" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=

[ -f "$WINEPREFIX/.dotvane-ready" ] && exit 0
"$wine" wineboot --init
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
# Wine writes the registry to the prefix when its server ends.
"$wineserver" -w
touch "$WINEPREFIX/.dotvane-ready"
