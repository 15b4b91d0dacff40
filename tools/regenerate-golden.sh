#!/usr/bin/env bash
# Renders frames 1, 200, 700 and 2000 of the renderer on a private Xvfb
# screen and stores them as the golden frames the GL tests compare with,
# with gl.txt naming the GL that drew them (the same GL must draw the same
# bytes; another is held to a tolerance).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target capture_frames
source tools/xvfb.sh
start_private_xvfb 1024x768x24
build/bin/capture_frames tests/renderer/golden 1 200 700 2000
echo "wrote tests/renderer/golden/frame_0001.png, frame_0200.png, frame_0700.png, frame_2000.png and gl.txt"
