#!/usr/bin/env bash
# Renders frames 1 and 200 of the renderer on a private Xvfb screen and
# stores them as the golden frames the GL tests compare with.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target capture_frames
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
Xvfb -displayfd 4 -screen 0 1024x768x24 -noreset -nolisten tcp 4>"$runtime/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do [ -s "$runtime/display" ] && break; sleep 0.1; done
DISPLAY=":$(head -n1 "$runtime/display")" build/bin/capture_frames tests/renderer/golden 1 200
echo "wrote tests/renderer/golden/frame_0001.png and frame_0200.png"
