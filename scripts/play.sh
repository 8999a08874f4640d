#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the demo content.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The demo-content target writes build/demo-content (again whenever the generator changed).
cmake --build build --parallel "$(nproc)" --target lyrandel demo-content
content=build/demo-content
[ -d "$content" ] || content=tests/data/minimal
exec build/lyrandel --data "$content" "$@"
