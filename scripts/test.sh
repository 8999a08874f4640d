#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite: the normal build,
# then the same tests under the address and undefined-behaviour sanitizers, then a short fuzz run
# of every file reader.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake --preset default
cmake --build --preset default --parallel "$jobs"
ctest --preset default --parallel "$jobs"

if [ "${LYRANDEL_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake --preset asan
  cmake --build --preset asan --parallel "$jobs"
  ctest --preset asan --parallel "$jobs"
fi

if [ "${LYRANDEL_SKIP_FUZZ:-0}" != 1 ]; then
  bash scripts/fuzz.sh "${LYRANDEL_FUZZ_SECONDS:-15}"
fi
