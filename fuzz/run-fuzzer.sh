#!/bin/sh
# Runs one fuzzer for a bounded time on a working copy of its seed corpus.
# usage: run-fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS
set -eu
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
cp -r "$seeds/." "$work/"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work"
