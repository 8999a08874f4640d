#!/usr/bin/env bash
# The CPU share of a running process: samples its user and system time over SECONDS of wall
# time, then ends it with SIGTERM (the game's quit road) and prints "NAME PERCENT" (of a core).
# Usage: bench/cpu_share.sh PID SECONDS NAME
set -euo pipefail
pid=${1:?pid}
secs=${2:?seconds}
name=${3:?name}
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
c0=$(cpu); t0=$(date +%s.%N)
sleep "$secs"
c1=$(cpu); t1=$(date +%s.%N)
kill -TERM "$pid"
awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" -v name="$name" \
  'BEGIN { printf "%s %.2f\n", name, 100 * (c1 - c0) / hz / (t1 - t0) }'
