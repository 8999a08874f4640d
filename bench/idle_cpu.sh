#!/usr/bin/env bash
# Idle CPU of the frame loop: runs the game on the real clock (offscreen video, no sound
# device) on the title screen and reports CPU seconds per wall second, after start-up.
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
c0=$(cpu); t0=$(date +%s.%N)
sleep "$secs"
c1=$(cpu); t1=$(date +%s.%N)
kill -TERM "$pid"; wait "$pid" || true
rm -rf "$work"
awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
  'BEGIN { printf "idle_cpu_percent %.2f\n", 100 * (c1 - c0) / hz / (t1 - t0) }'
