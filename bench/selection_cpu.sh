#!/usr/bin/env bash
# CPU of the selection screen at rest: the game on the real clock, headless but drawing and
# presenting its frames as a window does (software GL) with the default sound device (OpenAL
# Soft's "No Output" driver), opens the selection, where the highlighted song's preview plays,
# and the CPU seconds per wall second are measured after it has settled.
# Usage: bench/selection_cpu.sh BUILD_DIR CONTENT_DIR [SECONDS] [VAR=VALUE...]
#   (LYRANDEL_BENCH_DRAW_EVERY_FRAME=1 measures it drawing every frame, as the game did before)
set -euo pipefail
build=${1:?build dir}
content=${2:?content dir}
secs=${3:-5}
shift $(($# < 3 ? $# : 3))
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
work=$(mktemp -d)
cp -r "$content"/. "$work"/
printf '1 press SPACE\n10000000 quit\n' >"$work/selection.script"
env "$@" LYRANDEL_HEADLESS_REAL_CLOCK=1 LYRANDEL_BENCH_AS_WINDOW=1 "$build"/lyrandel --headless \
  --script "$work/selection.script" --data "$work" 2>/dev/null &
pid=$!
sleep 2
bash "$(dirname "$0")/cpu_share.sh" "$pid" "$secs" selection_cpu_percent
wait "$pid" || true
rm -rf "$work"
