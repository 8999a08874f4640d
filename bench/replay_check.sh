#!/usr/bin/env bash
# The headless replay check of a 2-minute chart: the longest demo song's hardest chart is made
# two minutes long (its notes repeated), a run with presses early, late, missed and of the wrong
# key is played and recorded, and `lyrandel --headless --replay` plays it again; its wall time
# and CPU time are reported, with the headless autoplay of the same chart for comparison.
# Usage: bench/replay_check.sh BUILD_DIR CONTENT_DIR
set -euo pipefail
build=${1:?build dir}
content=${2:?content dir}
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
work=$(mktemp -d)
trap 'rm -rf "$work" "$work.script"' EXIT
cp -r "$content"/. "$work"/
# Prints the song's index and title, writes its level-3 chart for 120 s and the run's script.
read -r index title < <(python3 - "$work" "$work.script" <<'PY'
import pathlib, random, sys
music = pathlib.Path(sys.argv[1]) / "Data/Music"
titles = [l.split("[")[0] for l in (music / "0.nld").read_bytes().decode("cp932").split("\n") if "[" in l]
size = lambda t: (music / t / (t + ".wav")).stat().st_size if (music / t / (t + ".wav")).exists() else -1
index = max(range(len(titles)), key=lambda i: size(titles[i]))
chart = music / titles[index] / "3.nsd"
lines = chart.read_bytes().decode("cp932").splitlines()
bpm = int(next(l for l in lines if l.startswith("BPM[")).split("[")[1].split("]")[0])
second = int(next(l for l in lines if l.startswith("Second[")).split("[")[1].split("]")[0])
notes = [l for l in lines if l.startswith("[")]
shift = 62.5 * second * bpm / 348750  # one play length later
out = [f"BPM[{bpm}]", "Second[120]"]
for k in range(3):
    for l in notes:
        heads, v = l[1:-1].rsplit(",", 1) if "," in l else l[1:-1].split(" ", 1)
        v = float(v) + k * shift
        if v * 348750 / bpm / 62.5 < 120:
            out.append(f"[{heads},{v:.6f}]")
chart.write_bytes(("\n".join(out) + "\n").encode("cp932"))
random.seed(21)
script, f = [], 1
def press(k):
    global f
    script.append(f"{f} press {k}")
    f += 2
press("SPACE")
for _ in range(index): press("D")
press("W"); press("W")
start = f
press("SPACE")
t, end = start + 300, start + 812 + 60 * 120
while t < end:
    script.append(f"{t} press {random.choice('WASDIJKL')}")
    t += random.randint(2, 12)
script.append(f"{end + 520} press SPACE")
script.append(f"{end + 530} quit")
pathlib.Path(sys.argv[2]).write_text("\n".join(script) + "\n")
print(index, titles[index])
PY
)
"$build"/lyrandel --headless --script "$work.script" --data "$work" >/dev/null
replay=$(ls "$work"/Replays/guest/*.lrp | head -1)
cpu_ms() { sed -n 's/.*cpu \([0-9]*\) ms$/\1/p' "$1" | tail -1; }
t0=$(date +%s%N)
LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --replay "$replay" --data "$work" \
  >"$work/check.out" 2>"$work/check.err"
t1=$(date +%s%N)
grep -q '^replay matches$' "$work/check.out" || { cat "$work/check.out" "$work/check.err"; exit 1; }
echo "replay_seconds $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')"
echo "replay_cpu_ms $(cpu_ms "$work/check.err")"
t0=$(date +%s%N)
LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --play "$title" --level 3 --autoplay \
  --data "$work" >/dev/null 2>"$work/auto.err"
t1=$(date +%s%N)
echo "autoplay_seconds $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')"
echo "autoplay_cpu_ms $(cpu_ms "$work/auto.err")"
