#!/usr/bin/env bash
# Builds (when needed) and starts Raysketcher: the window where a display exists,
# the command-line program otherwise. Extra arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/gui/raysketcher "$@"
fi
# No display: the command-line program instead, by default on an example design.
echo "Kein Bildschirm gefunden (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt):" \
     "statt des Fensters läuft das Kommandozeilenprogramm." >&2
if [ $# -eq 0 ]; then
  echo "Raysketcher (Kommandozeile) mit examples/camera-50mm-f4-1m.ini:" >&2
  set -- --settings examples/camera-50mm-f4-1m.ini
fi
exec build/src/cli/raysketcher-cli "$@"
