#!/bin/sh
# Creates the Wine prefix of the Windows test run once: Wine's start-up
# configuration, the null graphics driver so that windows can exist without
# a display, and fonts of its own.
# Usage: PrepareWinePrefix.sh WINE WINESERVER PREFIX ARCH (win64 or win32)
set -eu
wine=$1
wineserver=$2
export WINEPREFIX="$3" WINEARCH="$4" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# Wine adds the fonts that fontconfig knows to those of the prefix, and
# records them in the prefix: it is shown none from the start.
export FONTCONFIG_FILE="$(cd "$(dirname "$0")" && pwd)/NoHostFonts.conf"

ready="$WINEPREFIX/.dotvane-prefix"
[ -f "$ready" ] && exit 0
# A prefix half made, or made before it had fonts of its own (Wine keeps
# the host's fonts it once saw), is made anew.
"$wineserver" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
"$wine" wineboot --init
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f

# Wine's own fonts (Tahoma, MS Sans Serif, Fixedsys, Small Fonts...) and the
# Liberation fonts go into the prefix only: the host's fonts, which the Qt
# build's pictures depend on, stay as they are. The usual Windows faces are
# mapped onto their metric twins. A Windows without DejaVu Sans, the face
# of the example screens, draws it in Arial, and so does the prefix.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for folder in /usr/share/wine/fonts /usr/share/fonts/truetype/liberation; do
  if [ ! -d "$folder" ]; then
    echo "$folder is missing: install fonts-wine and fonts-liberation" >&2
    exit 1
  fi
  find "$folder" -maxdepth 1 \( -name '*.ttf' -o -name '*.fon' \) -exec cp {} "$fonts/" \;
done
for pair in "Arial=Liberation Sans" "Courier New=Liberation Mono" "Times New Roman=Liberation Serif" \
            "Terminal=Fixedsys" "DejaVu Sans=Liberation Sans"; do
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f
done

# The menu bar's height, as Wine works it out for its menu font at 96 dpi:
# 32-bit Wine emulated by qemu (scripts/emulate-i386.sh) works out nonsense
# when it makes the prefix, and keeps it.
"$wine" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MenuHeight /d 18 /f

# Wine writes the registry to the prefix when its server ends.
"$wineserver" -w
touch "$ready"
