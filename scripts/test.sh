#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
