#!/bin/sh
# Runs one Windows test program under Wine and prints its output when it
# ends. The Wine server and services that a program starts inherit its
# standard output and error, and keep them open for as long as they run;
# CTest counts a test as running until its output is closed, so the test that
# happened to start them would last as long as every Wine test after it (and
# be timed out with one that hangs). The output goes through a file instead.
# A program still running after LIMIT seconds is ended, and what it printed
# is still shown.
# Usage: RunUnderWine.sh LIMIT WINE PROGRAM [ARGUMENT...]
set -u
limit=$1
shift
log=$(mktemp) || exit 1
timeout --kill-after=10 "$limit" "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
if [ "$status" -eq 124 ]; then
  echo "$2 was still running after $limit seconds and was ended" >&2
fi
exit "$status"
