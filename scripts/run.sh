#!/usr/bin/env bash
# Builds (when needed) and starts Raysketcher: the window where a display exists,
# the command-line program otherwise. Extra arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"

if [ -x build/src/gui/raysketcher ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/src/gui/raysketcher "$@"
fi
if [ -x build/src/cli/raysketcher-cli ]; then
  exec build/src/cli/raysketcher-cli "$@"
fi
echo "Raysketcher has no runnable program yet: this build holds the computing core and its tests only." >&2
echo "Run scripts/test.sh to build and test it." >&2
exit 1
