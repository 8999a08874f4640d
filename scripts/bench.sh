#!/usr/bin/env bash
# Builds in Release and runs the whole benchmark suite: the Google Benchmark programs (with
# repetitions; medians reported) and the whole-process measurements (start-up to the first
# frame, idle CPU, the selection at rest, the headless replay check of a 2-minute chart, a
# 3-minute play on the real clock with its empty slots and peak memory, a library of 10,000
# songs: start-up, the selection opened, stepped, searched, reordered and grouped, with its
# empty slots on the real clock and its peak memory).
# Writes the results table of docs/performance.md between its markers.
# Usage: scripts/bench.sh            (LYRANDEL_BENCH_QUICK=1: short runs while developing)
# Run it alone: the machine's cores are shared, and other work shows in the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${LYRANDEL_BENCH_BUILD:-build-bench}
quick=${LYRANDEL_BENCH_QUICK:-0}
doc=docs/performance.md
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLYRANDEL_TESTS=OFF >/dev/null
ninja -C "$build" -j2 >/dev/null

content=$build/demo-content
[ -d "$content/Data" ] || content=tests/data/minimal
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
load0=$(cut -d' ' -f1-3 /proc/loadavg)
reps=5 playSeconds=180 idleRuns=3 startRuns=7
[ "$quick" = 1 ] && reps=2 playSeconds=15 idleRuns=1 startRuns=3

# The library of 10,000 songs made from the demo songs (kept in the build folder for later runs;
# the first run writes 10,000 jackets, a few minutes).
library=
if [ -d "$build/demo-content/Data" ]; then
  echo "library of 10,000 songs..."
  "$build"/bench/lyrandel-bench-library "$build/demo-content" "$build/bench-library" 10000 &&
    library=$(cd "$build/bench-library" && pwd)
fi
[ -n "$library" ] && export LYRANDEL_BENCH_LIBRARY=$library

echo "benchmarks ($reps repetitions)..."
"$build"/bench/lyrandel_bench --benchmark_repetitions="$reps" \
  --benchmark_report_aggregates_only=true --benchmark_out="$out/bench.json" \
  --benchmark_out_format=json >/dev/null

# A private copy of the content, since the game writes its settings and saves there.
work=$out/content
cp -r "$content"/. "$work"/

echo "start-up to the first presented frame ($startRuns runs)..."
echo "2 quit" >"$out/first-frame.txt"
for i in $(seq "$startRuns"); do
  t0=$(date +%s%N)
  LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --script "$out/first-frame.txt" \
    --data "$work" 2>"$out/start.err" || true
  line=$(grep 'first frame presented at' "$out/start.err" || true)
  t1=$(sed -n 's/.*presented at \([0-9]*\) ns.*/\1/p' <<<"$line")
  [ -n "$t1" ] && echo $(((t1 - t0) / 1000)) >>"$out/start-us.txt"
  sed -n 's/.*cpu \([0-9]*\) ms.*/\1/p' <<<"$line" >>"$out/start-cpu-ms.txt"
done

echo "idle CPU ($idleRuns runs each, software GL and GPU excluded)..."
# 15 s a run: the process clock counts in 10 ms ticks, 0.07 % of a core over 15 s.
for i in $(seq "$idleRuns"); do
  bash bench/idle_cpu.sh "$build" "$content" 15 | awk '/^idle_cpu_percent/ {print $2}' >>"$out/idle.txt"
  LYRANDEL_BENCH_NULL_GPU=1 bash bench/idle_cpu.sh "$build" "$content" 15 |
    awk '/^idle_cpu_percent/ {print $2}' >>"$out/idle-null.txt"
done

echo "selection at rest ($idleRuns runs each: frames as a window draws them, every frame drawn)..."
for i in $(seq "$idleRuns"); do
  bash bench/selection_cpu.sh "$build" "$content" 5 | awk '{print $2}' >>"$out/selection.txt"
  bash bench/selection_cpu.sh "$build" "$content" 5 LYRANDEL_BENCH_DRAW_EVERY_FRAME=1 |
    awk '{print $2}' >>"$out/selection-every.txt"
done

echo "headless replay check and autoplay of a 2-minute chart..."
bash bench/replay_check.sh "$build" "$content" >"$out/replay.txt" || true

# The longest song of the list (largest WAV), its place in the list and its play length.
longest=$(python3 - "$work" <<'EOF'
import pathlib, sys
music = pathlib.Path(sys.argv[1]) / "Data/Music"
titles = [l.split("[")[0] for l in (music / "0.nld").read_bytes().decode("cp932").split("\n") if "[" in l]
def size(t):
    w = music / t / (t + ".wav")
    return w.stat().st_size if w.exists() else -1
best = max(titles, key=size)
chart = (music / best / "1.nsd").read_bytes().decode("cp932", "replace")
second = int(chart.split("Second[")[1].split("]")[0]) if "Second[" in chart else 0
print(titles.index(best), second, size(best) // 176400)
EOF
) || longest="0 0 0"
read -r index second songSeconds <<<"$longest"

# Writes a script that selects that song's first level and quits before frame $1; prints the
# frame of the whole run's end (812 + 60 Second updates after the hand-over reach the result).
play_script() {
  local f=3
  {
    echo "1 press SPACE"
    for _ in $(seq "$index"); do echo "$f press D"; f=$((f + 2)); done
    echo "$f press SPACE"
    echo "$1 quit"
  } >"$out/play.txt"
}
selectFrames=$((3 + 2 * index))
runEnd=$((selectFrames + 812 + 60 * second))
threeMinutes=$((selectFrames + playSeconds * 1000 / 16))
[ "$quick" = 1 ] && runEnd=$threeMinutes

echo "peak memory: the whole run of entry $index ($songSeconds s of music), simulated clock..."
play_script "$runEnd"
LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --script "$out/play.txt" --data "$work" \
  2>"$out/rss.err" || true
grep 'lyrandel: bench: frames' "$out/rss.err" >"$out/rss.report" || true

slotsEnd=$((runEnd > threeMinutes ? runEnd : threeMinutes))
echo "slots without a frame: $(((slotsEnd - selectFrames) * 16 / 1000)) s of play on the real clock..."
play_script "$slotsEnd"
LYRANDEL_HEADLESS_REAL_CLOCK=1 LYRANDEL_BENCH_NULL_GPU=1 LYRANDEL_BENCH_REPORT=1 \
  "$build"/lyrandel --headless --script "$out/play.txt" --data "$work" 2>"$out/slots.err" || true
grep 'lyrandel: bench: frames' "$out/slots.err" >"$out/slots.report" || true
echo "$(((slotsEnd - selectFrames) * 16 / 1000))" >"$out/slots.seconds"
if [ -n "$library" ]; then
  # A working copy that shares the 10,000 jackets (read only) with the library.
  libwork=$out/library
  mkdir -p "$libwork/Data"
  cp -a "$library/Config.cfg" "$libwork"/ && cp -a "$library/Data/Music" "$library/Data/SE" \
    "$library/Data/Sound" "$libwork/Data"/ && ln -s "$library/Data/Texture" "$libwork/Data/Texture"
  echo "start-up to the first presented frame over 10,000 songs ($startRuns runs)..."
  for i in $(seq "$startRuns"); do
    t0=$(date +%s%N)
    LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --script "$out/first-frame.txt" \
      --data "$libwork" 2>"$out/libstart.err" || true
    t1=$(sed -n 's/.*presented at \([0-9]*\) ns.*/\1/p' "$out/libstart.err")
    [ -n "$t1" ] && echo $(((t1 - t0) / 1000)) >>"$out/libstart-us.txt"
  done
  # A second on the title (its warm-up reads the jackets' headers meanwhile), the selection
  # opened (frame 61), D held 10 s, a search typed and kept, steps within it, the search
  # closed, every order, grouping, 100 pack jumps, 50 random jumps.
  o=60
  {
    echo "$((o + 1)) press SPACE"
    echo "$((o + 20)) down D"
    echo "$((o + 645)) up D"
    echo "$((o + 650)) press F"
    echo "$((o + 652)) type lanterns 004"
    echo "$((o + 670)) press 0x0D"
    for i in $(seq 10); do echo "$((o + 670 + 2 * i)) press D"; done
    echo "$((o + 700)) press F"
    for i in $(seq 14); do echo "$((o + 700 + 2 * i)) press BACKSPACE"; done
    for i in $(seq 7); do echo "$((o + 740 + 4 * i)) press O"; done
    echo "$((o + 780)) press G"
    for i in $(seq 100); do echo "$((o + 780 + 2 * i)) press C"; done
    for i in $(seq 50); do echo "$((o + 990 + 2 * i)) press R"; done
    echo "$((o + 1100)) press G"
    echo "$((o + 1110)) quit"
  } >"$out/library.txt"
  echo "$o" >"$out/library.opening"
  echo "peak memory: the selection over the 10,000 songs, simulated clock..."
  LYRANDEL_BENCH_REPORT=1 "$build"/lyrandel --headless --script "$out/library.txt" \
    --data "$libwork" 2>"$out/library.err" || true
  grep 'lyrandel: bench: frames' "$out/library.err" >"$out/library.report" || true
  rm -f "$libwork/Selection.cfg"
  echo "slots without a frame: the same on the real clock, GPU excluded..."
  LYRANDEL_HEADLESS_REAL_CLOCK=1 LYRANDEL_BENCH_NULL_GPU=1 LYRANDEL_BENCH_REPORT=1 \
    "$build"/lyrandel --headless --script "$out/library.txt" --data "$libwork" \
    2>"$out/libslots.err" || true
  grep 'lyrandel: bench: frames' "$out/libslots.err" >"$out/libslots.report" || true
  # Slots lost before the frame after the opening are the opening's.
  sed -n 's/.*: \([0-9]*\) slots without a frame before frame \([0-9]*\)$/\1 \2/p' \
    "$out/libslots.err" >"$out/libslots.where" || true
fi
cut -d' ' -f1-3 /proc/loadavg >"$out/load.txt"

echo "writing $doc..."
python3 - "$out" "$doc" "$content" "$reps" "$songSeconds" "$load0" <<'EOF'
import datetime, json, os, pathlib, platform, re, statistics, sys
out, doc, content, reps, songSeconds, load0 = sys.argv[1:]
out = pathlib.Path(out)
bench = json.loads((out / "bench.json").read_text())
# Names without the suffixes Google Benchmark adds for manual time and fixed iterations.
def plain(name):
    return re.sub(r"/(manual_time|iterations:\d+|min_time:[\d.]+|real_time)", "", name)
medians = {plain(b["run_name"]): b for b in bench["benchmarks"] if b.get("aggregate_name") == "median"}
maxes = {plain(b["run_name"]): b for b in bench["benchmarks"] if b.get("aggregate_name") == "max"}

def med(name, key="real_time"):
    b = medians.get(name)
    return None if b is None else b.get(key)

def lines(name):
    p = out / name
    return [float(x) for x in p.read_text().split()] if p.exists() else []

def fmt(v, unit, digits=2):
    return "not measured" if v is None else f"{v:.{digits}f} {unit}"

def verdict(v, ok):
    if ok is None:  # a figure shown for comparison, with no target of its own
        return ""
    return "—" if v is None else ("meets" if ok(v) else "**misses**")

rows = []
def row(figure, target, v, unit, ok, digits=2):
    rows.append(f"| {figure} | {target} | {fmt(v, unit, digits)} | {verdict(v, ok)} |")

play_us = med("BM_FramePlayScreen400Notes")
result_us = med("BM_FrameResultTicker400Notes")
row("Whole frame, busiest play screen (400 notes, every play text, presses judged), CPU", "≤ 0.5 ms",
    None if play_us is None else play_us / 1000, "ms", lambda v: v <= 0.5, 3)
row("Whole frame, result screen (400 notes, ticker running), CPU", "≤ 0.5 ms",
    None if result_us is None else result_us / 1000, "ms", lambda v: v <= 0.5, 3)
for name, label in [("BM_SpritesEqualDepth/10000", "equal depths"),
                    ("BM_SpritesMixedDepth/10000", "mixed depths, sorted"),
                    ("BM_SpritesTurned/10000", "rotated")]:
    ips = med(name, "items_per_second")
    row(f"Sprite throughput, 10 000 sprites a pass, {label}", "≥ 20 M/s",
        None if ips is None else ips / 1e6, "M/s", lambda v: v >= 20, 1)
row("PlayMusic, 3-minute 44.1 kHz stereo 16-bit WAV, warm cache, game's device", "< 8 ms",
    med("BM_PlayMusicThreeMinuteSongOnDevice"), "ms", lambda v: v < 8)
if med("BM_PlayMusicThreeMinuteSong") is not None:
    row("PlayMusic, same song, loopback device (audio benchmark)", "< 8 ms",
        med("BM_PlayMusicThreeMinuteSong"), "ms", lambda v: v < 8)
row("Whole frame whose update starts that song, wall time", "< 16 ms",
    med("BM_FrameStartingTheSong"), "ms", lambda v: v < 16)
for name, label in [("wav16", "44.1 kHz stereo 16-bit WAV"), ("wav24", "44.1 kHz stereo 24-bit WAV"),
                    ("float", "44.1 kHz stereo float WAV"), ("six", "44.1 kHz 6-channel 16-bit WAV"),
                    ("ogg", "Ogg Vorbis"), ("opus", "Opus (48 kHz)"), ("flac", "FLAC"), ("mp3", "MP3")]:
    row(f"PlayMusic, 3-minute {label}, song before fed, game's device", "< 8 ms",
        med("BM_PlayMusicThreeMinutes/" + name), "ms", lambda v: v < 8)
row("Whole frame whose update starts a 3-minute Ogg Vorbis song, wall time", "< 16 ms",
    med("BM_FrameStartingTheOggSong"), "ms", lambda v: v < 16)
tone = medians.get("BM_ResampledToneLevel")
row("Level of a 15 kHz tone at 48 kHz mixed to 44.1 kHz (linear resampling: −2.7 dB)", "≥ −1 dB",
    tone.get("level_15k_db") if tone else None, "dB", lambda v: v >= -1)
imp = medians.get("BM_ImportPackOf50Songs")
if imp is not None:
    rows.append("| Import of a 50-song pack (simfiles of 3 charts, 2-minute Ogg songs, half with a "
                f"picture), wall time per song | — | {imp['s_per_song']:.3f} s | |")
again = med("BM_ReimportOneSongOfALibraryOf300")
if again is not None:
    rows.append("| Import again of one song of a library of 300 (the library's tree of hard links "
                f"swapped in), wall time | — | {again:.0f} ms | |")
start = lines("start-us.txt")
row(f"Start-up to the first presented frame, headless, wall time ({len(start)} runs)", "≤ 300 ms",
    statistics.median(start) / 1000 if start else None, "ms", lambda v: v <= 300, 1)
start_cpu = lines("start-cpu-ms.txt")
row("Start-up to the first presented frame, headless, CPU time of the process", "≤ 300 ms",
    statistics.median(start_cpu) if start_cpu else None, "ms", lambda v: v <= 300, 0)

def report(name):
    p = out / name
    m = re.search(r"frames (\d+), slots without a frame (\d+), peak rss (\d+) KiB, cpu (\d+) ms",
                  p.read_text()) if p.exists() else None
    return None if m is None else [int(x) for x in m.groups()]

rss = report("rss.report")
row(f"Peak resident memory, whole run of the longest song ({songSeconds} s of music), software GL",
    "≤ 150 MB", rss[2] / 1024 if rss else None, "MiB", lambda v: v <= 150, 1)
idle = lines("idle.txt")
row(f"Idle CPU of the frame loop, title screen, software GL ({len(idle)} runs of 15 s)",
    "< 2 % of a core", statistics.median(idle) if idle else None, "%", lambda v: v < 2)
idle_null = lines("idle-null.txt")
row(f"Idle CPU of the frame loop, title screen, GPU excluded ({len(idle_null)} runs of 15 s)",
    "< 2 % of a core", statistics.median(idle_null) if idle_null else None, "%", lambda v: v < 2)
selection = lines("selection.txt")
row(f"CPU of the selection at rest (preview playing), software GL, frames drawn as a window draws "
    f"them ({len(selection)} runs of 5 s)", "a few % of a core (< 5 %)",
    statistics.median(selection) if selection else None, "%", lambda v: v < 5)
every = lines("selection-every.txt")
row("The same with every frame drawn and presented (as before frames were skipped)", "—",
    statistics.median(every) if every else None, "%", None)
replay = dict(l.split() for l in (out / "replay.txt").read_text().splitlines()
              if len(l.split()) == 2) if (out / "replay.txt").exists() else {}
def replay_figure(key, scale=1.0):
    return float(replay[key]) * scale if key in replay else None
row("Headless replay check of a 2-minute chart (`--headless --replay`, a messy run), wall time",
    "< 2 s", replay_figure("replay_seconds"), "s", lambda v: v < 2)
row("The same, CPU time of the process", "< 2 s", replay_figure("replay_cpu_ms", 1e-3), "s",
    lambda v: v < 2)
row("Headless autoplay of the same chart (`--headless --play … --autoplay`), wall time", "< 2 s",
    replay_figure("autoplay_seconds"), "s", lambda v: v < 2)
slots = report("slots.report")
seconds = (out / "slots.seconds").read_text().strip() if (out / "slots.seconds").exists() else "?"
row(f"Slots without a frame, {seconds} s play on the real clock, headless, GPU excluded"
    + (f" ({slots[0]} frames, {slots[3] / max(slots[0], 1):.2f} ms CPU a frame)" if slots else ""),
    "0", slots[1] if slots else None, "", lambda v: v == 0, 0)

libstart = lines("libstart-us.txt")
row(f"Start-up to the first presented frame, 10,000 songs, headless, wall time ({len(libstart)} runs)",
    "≤ 300 ms", statistics.median(libstart) / 1000 if libstart else None, "ms", lambda v: v <= 300, 1)
row("Opening the selection over 10,000 songs after a moment on the title (whose warm-up read "
    "the jackets' headers): the frame of its Initialize and first draw, wall time",
    "< 32 ms (≤ 1 slot lost)", med("BM_SelectionOpenAfterTitle10000Songs"), "ms", lambda v: v < 32)
row("The same straight from the start (every header read in that frame), wall time",
    "< 32 ms (≤ 1 slot lost)", med("BM_SelectionOpen10000Songs"), "ms", lambda v: v < 32)
step = maxes.get("BM_SelectionStepping10000Songs")
row("Longest frame stepping through the 10,000 songs (A/D pressed, and held 6.4 s at full speed; "
    f"jackets decoded), CPU (the longest of {reps} runs of 6800 frames)", "≤ 4 ms",
    step.get("longest_frame_cpu_ms") if step else None, "ms", lambda v: v <= 4)
row("The same frames, wall time (the machine's load shows here)", "≤ 4 ms",
    step.get("longest_frame_wall_ms") if step else None, "ms", lambda v: v <= 4)
search = maxes.get("BM_SelectionSearch10000Songs")
row("Longest search keystroke over the 10,000 songs (the whole frame: filter, draw), CPU", "≤ 4 ms",
    search.get("longest_frame_cpu_ms") if search else None, "ms", lambda v: v <= 4)
order = maxes.get("BM_SelectionOrder10000Songs")
row("Longest change of order or grouping over the 10,000 songs (the whole frame), CPU", "< 16 ms",
    order.get("longest_frame_cpu_ms") if order else None, "ms", lambda v: v < 16)
row("The same frames, wall time", "< 16 ms",
    order.get("longest_frame_wall_ms") if order else None, "ms", lambda v: v < 16)
libslots = report("libslots.report")
where = [[int(x) for x in l.split()] for l in (out / "libslots.where").read_text().split("\n")
         if l.strip()] if (out / "libslots.where").exists() else []
first = int((out / "library.opening").read_text()) + 2 if (out / "library.opening").exists() else 3
opening = sum(n for n, f in where if f <= first)
row("Slots lost opening the selection over 10,000 songs after a second on the title, real clock, "
    "headless, GPU excluded", "≤ 1",
    opening if libslots else None, "", lambda v: v <= 1, 0)
row("Slots lost after it: 10 s of D held, a search, every order, grouping, 100 pack and 50 random "
    "jumps", "0", (libslots[1] - opening) if libslots else None, "", lambda v: v == 0, 0)
library = report("library.report")
row("Peak resident memory, the selection over the 10,000 songs (the same script), software GL",
    "≤ 200 MB", library[2] / 1024 if library else None, "MiB", lambda v: v <= 200, 1)

lat = medians.get("BM_AudioOutputLatency")
audio = []
if lat:
    audio.append(f"| Period asked | {lat['asked_period_ms']:.0f} ms × {lat['asked_periods']:.0f} |")
    audio.append(f"| Device rate | {lat['rate_hz']:.0f} Hz |")
    audio.append(f"| Device period | {lat['period_ms']:.2f} ms |")
    audio.append(f"| Output latency reported by the device | {lat['latency_ms']:.2f} ms |")
else:
    audio.append("| Output latency | not measured (no sound device) |")

extra = []
for name, unit, scale in [("BM_TextFrameOfTwentyUnchangedStrings", "µs", 1),
                          ("BM_TextFrameOfOneChangingString", "µs", 1),
                          ("BM_SpritesEqualDepth/200", "µs", 1)]:
    b = medians.get(name)
    if b:
        t = b["real_time"] * {"ns": 1e-3, "us": 1, "ms": 1e3}[b["time_unit"]]
        extra.append(f"| {name} | {t:.1f} µs |")

cpu = "unknown"
for line in open("/proc/cpuinfo"):
    if line.startswith("model name"):
        cpu = line.split(":", 1)[1].strip()
        break
table = "\n".join([
    f"Measured {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC on {cpu}, "
    f"{os.cpu_count()} cores (shared with other work), {platform.system()} {platform.release()}; "
    f"Release build; content: `{content}`; benchmarks: medians of {reps} repetitions; "
    f"load average {load0} at the start, {(out / 'load.txt').read_text().strip()} at the end.",
    "",
    "| Figure | Target | Measured (median) | |",
    "|---|---|---|---|",
    *rows,
    "",
    "Audio output (OpenAL Soft's \"No Output\" driver under the benchmark):",
    "",
    "| | |",
    "|---|---|",
    *audio,
    "",
    "Other figures of the suite:",
    "",
    "| Benchmark | Median |",
    "|---|---|",
    *extra,
])
text = pathlib.Path(doc).read_text()
begin, end = "<!-- bench table begin -->", "<!-- bench table end -->"
if begin not in text or end not in text:
    sys.exit(f"{doc} has no table markers")
head, rest = text.split(begin, 1)
_, tail = rest.split(end, 1)
pathlib.Path(doc).write_text(head + begin + "\n" + table + "\n" + end + tail)
print(table)
EOF
