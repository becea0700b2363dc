#!/usr/bin/env bash
# Builds the editor and opens the sample world. Without a display it runs under
# Xvfb (nothing is visible then; the run is a check that the editor starts).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target talvora ombrel3 resources
world="$PWD/build/bin/Sample/Sample.wld"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the editor under Xvfb."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/talvora "$world"
fi
exec build/bin/talvora "$world"
