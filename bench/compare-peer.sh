#!/bin/bash
# Whole-process comparison with lcd4linux, the peer a Linux user would
# otherwise pick. Both programs show the same eight values on a 128x64
# display drawn at twice its size in an X window, updated every 250 ms:
# clock, available memory, uptime, processor busy, load, free disk, host name
# and network bytes. A third run shows Dotvane on a screen whose one row never
# changes, which is the floor of its idle cost.
#
# Each program runs under its own Xvfb, three times in turn; every run is
# measured for 20 s after a 3 s start. The script prints the processor time
# (user + system) and the resident memory of each run, the medians, and the
# ratio of the medians. It is a benchmark, not a test: it never fails on a
# number.
#
#   bash bench/compare-peer.sh [path/to/dotvane]
set -euo pipefail
cd "$(dirname "$0")/.."

program=$(realpath "${1:-build/bin/dotvane}")
runs=${RUNS:-3}
warmup=${WARMUP:-3}
measure=${MEASURE:-20}

if [ ! -x "$program" ]; then
  echo "no Dotvane program at $program; build it first (cmake --build build)" >&2
  exit 1
fi
if ! command -v lcd4linux >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends lcd4linux
fi
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
interface=$(awk -F: 'NR > 2 { gsub(/ /, "", $1); if ($1 != "lo") { print $1; exit } }' /proc/net/dev)
interface=${interface:-lo}

# lcd4linux: the X11 driver at 2x, eight text widgets of 21 cells.
cat >"$work/lcd4linux.conf" <<EOF
Display XWindow {
    Driver 'X11'
    Size '128x64'
    Font '6x8'
    Pixel '2+0'
    Gap '0x0'
    Border 0
    Foreground '000000ff'
    Background 'ffff00ff'
    Basecolor 'ffff00'
}
Widget Clock { class 'Text' expression strftime('%H:%M:%S', time()) width 21 align 'L' update 250 }
Widget Memory { class 'Text' expression meminfo('MemAvailable')/1024 prefix 'Mem ' postfix ' MB' precision 0 width 21 align 'L' update 250 }
Widget Uptime { class 'Text' expression uptime('%d %H:%M:%S') prefix 'Up ' width 21 align 'L' update 250 }
Widget Busy { class 'Text' expression proc_stat::cpu('busy', 250) prefix 'CPU ' postfix '%' precision 1 width 21 align 'L' update 250 }
Widget Load { class 'Text' expression loadavg(1) prefix 'Load ' precision 2 width 21 align 'L' update 250 }
Widget Disk { class 'Text' expression statfs('/', 'bavail')*statfs('/', 'bsize')/1048576 prefix 'Free ' postfix ' MB' precision 0 width 21 align 'L' update 250 }
Widget Host { class 'Text' expression uname('nodename') width 21 align 'L' update 250 }
Widget Net { class 'Text' expression netdev('$interface', 'Rx_bytes', 250)/1024 prefix 'In ' postfix ' KB/s' precision 1 width 21 align 'L' update 250 }
Layout Eight {
    Row1 { Col1 'Clock' }
    Row2 { Col1 'Memory' }
    Row3 { Col1 'Uptime' }
    Row4 { Col1 'Busy' }
    Row5 { Col1 'Load' }
    Row6 { Col1 'Disk' }
    Row7 { Col1 'Host' }
    Row8 { Col1 'Net' }
}
Display 'XWindow'
Layout 'Eight'
EOF
chmod 600 "$work/lcd4linux.conf"

# Dotvane: a program folder of its own with the same eight values on one
# screen, the processor and network through performance counters.
make_dotvane_folder() {
  local folder=$1 lines=$2
  mkdir -p "$folder/screens"
  cp "$program" "$folder/dotvane"
  cp "$(dirname "$program")/libdlportio.so" "$folder/"
  cat >"$folder/DOTVANE.INI" <<EOF
[LCD]
Type=3
TextColumns=22
TextRows=8
XPixels=128
YPixels=64
[NTPerfMon]
Enable=1
[Screens]
ScreenFile=screens\\default.ini
EOF
  cat >"$folder/LCDPERF.INI" <<EOF
[pdh_cpu]
name=\\Processor(_Total)\\% Processor Time
precision=3
[pdh_netin]
name=\\Network Interface(_Total)\\Bytes Received/sec
multiplier=0.0009765625
precision=4
EOF
  printf '[Screen0]\nEnable=1\nInterval=3600000\nUpdate=250\n%b' "$lines" >"$folder/screens/default.ini"
}
make_dotvane_folder "$work/dotvane-eight" \
  'Line0=$time$\nLine1=Mem $memavphys$\nLine2=Up $uptimed$ $uptimeh$:$uptimem$:$uptimes$\nLine3=CPU $pdh_cpu$%\nLine4=Load $textfile(/proc/loadavg,1)$\nLine5=Free $diskfree(/)$\nLine6=$computername$\nLine7=In $pdh_netin$ KB/s\n'
make_dotvane_folder "$work/dotvane-still" 'Line0=Nothing changes here\n'

# Processor time of a process in milliseconds, summed over its threads from
# the scheduler's nanosecond counts (the clock ticks of /proc/PID/stat are
# 10 ms coarse), and its resident memory in KB.
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns / 1000000 }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# Runs one command on a fresh Xvfb; prints "cpu_ms rss_kb".
measure_run() {
  local folder=$1; shift
  local display xvfb pid before after rss
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=":$(tr -d '\n' <"$work/display")"
  (cd "$folder" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$@" >/dev/null 2>&1) &
  pid=$!
  sleep "$warmup"
  before=$(cpu_ms "$pid")
  sleep "$measure"
  after=$(cpu_ms "$pid")
  rss=$(rss_kb "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$work/display"
  echo "$((after - before)) $rss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A cpu rss
for run in $(seq "$runs"); do
  for who in lcd4linux dotvane still; do
    case $who in
      lcd4linux) result=$(measure_run "$work" lcd4linux -F -q -f "$work/lcd4linux.conf" -p "$work/lcd4linux.pid") ;;
      dotvane) result=$(measure_run "$work/dotvane-eight" ./dotvane) ;;
      still) result=$(measure_run "$work/dotvane-still" ./dotvane) ;;
    esac
    read -r c r <<<"$result"
    printf '%-10s run %d: %5d ms CPU in %d s, %6d KB resident\n' "$who" "$run" "$c" "$measure" "$r"
    cpu[$who]+="$c "
    rss[$who]+="$r "
  done
done

echo
for who in lcd4linux dotvane still; do
  c=$(tr ' ' '\n' <<<"${cpu[$who]}" | grep . | median)
  r=$(tr ' ' '\n' <<<"${rss[$who]}" | grep . | median)
  printf 'median %-10s %6s ms CPU per %d s, %6s KB resident\n' "$who" "$c" "$measure" "$r"
  eval "median_$who=$c"
done
awk -v d="$median_dotvane" -v l="$median_lcd4linux" \
  'BEGIN { if (l > 0) printf "ratio Dotvane / lcd4linux (median CPU): %.2f\n", d / l }'
