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
bash "$(dirname "$0")/cpu_share.sh" "$pid" "$secs" idle_cpu_percent idle_cpu_thread
wait "$pid" || true
rm -rf "$work"
