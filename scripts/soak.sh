#!/usr/bin/env bash
# Soak: one headless run of the game that plays every chart of the demo content back to back,
# pass after pass, through the title, configuration, selection, play and result screens, for
# at least MINUTES simulated minutes (default 30). Reads the program's peak memory (VmHWM) and
# resident memory (VmRSS) after the first pass and after the last; fails on a crash, on any
# error line, or when the peak at the end is more than 5% above the peak after the first pass.
# SOAK_DATA=DIR plays another content folder (default build/demo-content).
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
content=${SOAK_DATA:-build/demo-content}
cmake --preset default >/dev/null
cmake --build --preset default --target lyrandel lyrandel-soak-script demo-content 2>/dev/null ||
  cmake --build --preset default --target lyrandel lyrandel-soak-script
[ -f "$content/Data/Music/0.nld" ] || { echo "soak: no content in $content"; exit 1; }

work=$(mktemp -d /tmp/lyrandel-soak.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$content" "$work/data"
build/tools/soak/lyrandel-soak-script "$work/data" "$minutes" "$work/soak.keys" "$work/pass-"

# The figure of one /proc status field, in kB.
field() { sed -n "s/^$1:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$2/status" 2>/dev/null; }

start=$(date +%s)
SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null build/lyrandel --headless \
  --script "$work/soak.keys" --data "$work/data" 2>"$work/stderr" &
pid=$!
pass=1
first_hwm="" first_rss="" last_hwm="" last_rss="" passes=0
while kill -0 "$pid" 2>/dev/null; do
  if [ -e "$work/pass-$pass.png" ]; then
    hwm=$(field VmHWM "$pid") rss=$(field VmRSS "$pid")
    [ -n "$hwm" ] || break
    [ -n "$first_hwm" ] || { first_hwm=$hwm; first_rss=$rss; }
    last_hwm=$hwm last_rss=$rss passes=$pass
    echo "soak: after pass $pass: peak ${hwm} kB, resident ${rss} kB, $(($(date +%s) - start)) s"
    pass=$((pass + 1))
  fi
  sleep 0.1
done
status=0
wait "$pid" || status=$?
seconds=$(($(date +%s) - start))
if [ -s "$work/stderr" ]; then
  echo "soak: the game reported:"
  head -20 "$work/stderr"
fi
simulated=$(tail -1 "$work/soak.keys" | awk '{ printf "%.1f", $1 * 16 / 60000 }')
echo "soak: exit $status, $passes passes, $simulated simulated minutes in $seconds s"
if [ "$status" -ne 0 ] || [ -s "$work/stderr" ] || [ "$passes" -lt 2 ]; then
  echo "soak: FAILED"
  exit 1
fi
growth=$(awk -v a="$first_hwm" -v b="$last_hwm" 'BEGIN { printf "%.2f", (b - a) * 100 / a }')
echo "soak: peak memory ${first_hwm} kB after the first pass, ${last_hwm} kB after the last" \
  "(${growth}%); resident ${first_rss} kB then ${last_rss} kB"
awk -v g="$growth" 'BEGIN { exit !(g <= 5) }' || { echo "soak: FAILED: peak memory grew"; exit 1; }
