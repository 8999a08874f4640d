#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite: the normal build,
# then the same tests under the address and undefined-behaviour sanitizers.
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
