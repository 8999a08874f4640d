#!/usr/bin/env bash
# The CPU share of a running process: samples its user and system time over SECONDS of wall
# time, then ends it with SIGTERM (the game's quit road) and prints "NAME PERCENT" (of a core)
# and, with THREAD_NAME, for each of its threads that used any, "THREAD_NAME TID PERCENT" (in
# the order the threads started: the frame loop first).
# Usage: bench/cpu_share.sh PID SECONDS NAME [THREAD_NAME]
set -euo pipefail
pid=${1:?pid}
secs=${2:?seconds}
name=${3:?name}
thread_name=${4:-}
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
threads() { for t in /proc/"$pid"/task/*; do echo "${t##*/} $(awk '{print $14 + $15}' "$t/stat")"; done; }
threads >"$work/threads0"
c0=$(cpu); t0=$(date +%s.%N)
sleep "$secs"
c1=$(cpu); t1=$(date +%s.%N)
threads >"$work/threads1"
kill -TERM "$pid"
awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" -v name="$name" \
  'BEGIN { printf "%s %.2f\n", name, 100 * (c1 - c0) / hz / (t1 - t0) }'
if [ -n "$thread_name" ]; then
  join <(sort "$work/threads0") <(sort "$work/threads1") | sort -n |
    awk -v t0="$t0" -v t1="$t1" -v hz="$ticks" -v name="$thread_name" \
      '$3 > $2 { printf "%s %s %.2f\n", name, $1, 100 * ($3 - $2) / hz / (t1 - t0) }'
fi
rm -rf "$work"
