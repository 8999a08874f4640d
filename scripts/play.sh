#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the demo content.
set -euo pipefail
cd "$(dirname "$0")/.."
# The plain game needs an X11 or Wayland display: say so before installing and building.
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${SDL_VIDEODRIVER:-}" ] &&
   [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/wayland-0" ]; then
    echo "lyrandel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set);" \
         "lyrandel --headless --script FILE runs without one" >&2
    exit 1
fi
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The demo-content target writes build/demo-content (again whenever the generator changed).
cmake --build build --parallel "$(nproc)" --target lyrandel demo-content
content=build/demo-content
[ -d "$content" ] || content=tests/data/minimal
exec build/lyrandel --data "$content" "$@"
