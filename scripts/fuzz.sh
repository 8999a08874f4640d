#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" preset, build-fuzz/) and runs each from its committed
# seed corpus for SECONDS (default 15). Fails on any crash, leak, sanitizer report, input that
# takes over one second, or memory over 2 GB; the input that did it is left in
# build-fuzz/findings/. FUZZ_TARGETS="chart wav" picks targets; FUZZ_RUNS=N runs N inputs per
# target instead of a time; FUZZ_MAX_LEN=N caps the size of new inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel "${FUZZ_JOBS:-$(nproc)}"

bin=build-fuzz/tests/fuzz
findings=build-fuzz/findings
mkdir -p "$findings"
if [ -n "${FUZZ_TARGETS:-}" ]; then
  targets=$FUZZ_TARGETS
else
  targets=$(cd "$bin" && ls fuzz_* | sed 's/^fuzz_//')
fi
if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); else limit=(-max_total_time="$seconds"); fi
[ -z "${FUZZ_MAX_LEN:-}" ] || limit+=(-max_len="$FUZZ_MAX_LEN")

failed=()
for target in $targets; do
  # New inputs go to a working corpus beside the build, so the committed seeds stay small.
  work=build-fuzz/corpus/$target
  log=build-fuzz/fuzz-$target.log
  mkdir -p "$work"
  if "$bin/fuzz_$target" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "${limit[@]}" "$work" "tests/fuzz/corpus/$target" \
      >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${runs:-?} inputs, no finding"
  else
    echo "fuzz $target: FAILED (log $log, input in $findings/)"
    grep -E "^==[0-9]+==ERROR|SUMMARY|runtime error|ALARM|out-of-memory|Test unit written" "$log" | head -8
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
