#!/usr/bin/env bash
# Builds Tovarel for Linux and runs the saver. With a display it opens on
# that display; without one it runs on a private Xvfb screen and saves a
# screenshot to out/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovarel_renderer xwin
bin=build/bin

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$bin/Tovarel.dll"
fi

mkdir -p out
source tools/xvfb.sh
start_private_xvfb 1024x768x24

"$bin/Tovarel.dll" &
saver=$!
"$bin/xwin" wait Lumora_VC 20
sleep "${TOVAREL_SHOT_AFTER:-6}"
"$bin/xwin" shot out/screenshot.png
"$bin/xwin" close Lumora_VC
wait $saver
echo "saved out/screenshot.png"
