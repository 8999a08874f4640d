#!/usr/bin/env bash
# Idle CPU of the frame loop: runs the game on the real clock (offscreen video, no sound
# device) on the title screen and reports CPU seconds per wall second, after start-up, for the
# whole process ("idle_cpu_percent P") and for each of its threads that used any
# ("idle_cpu_thread TID P": the frame loop is the first, then the sound library's mixer and the
# stream feeder, in the order they started).
# Usage: bench/idle_cpu.sh BUILD_DIR CONTENT_DIR [SECONDS]
set -euo pipefail
build=${1:?build dir}
content=${2:?content dir}
secs=${3:-5}
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
work=$(mktemp -d)
cp -r "$content"/. "$work"/
"$build"/lyrandel --data "$work" 2>/dev/null &
pid=$!
sleep 1.5
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
threads() { for t in /proc/"$pid"/task/*; do echo "${t##*/} $(awk '{print $14 + $15}' "$t/stat")"; done; }
threads >"$work/threads0"
c0=$(cpu); t0=$(date +%s.%N)
sleep "$secs"
c1=$(cpu); t1=$(date +%s.%N)
threads >"$work/threads1"
kill -TERM "$pid"; wait "$pid" || true
awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
  'BEGIN { printf "idle_cpu_percent %.2f\n", 100 * (c1 - c0) / hz / (t1 - t0) }'
join <(sort "$work/threads0") <(sort "$work/threads1") | sort -n |
  awk -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
    '$3 > $2 { printf "idle_cpu_thread %s %.2f\n", $1, 100 * ($3 - $2) / hz / (t1 - t0) }'
rm -rf "$work"
