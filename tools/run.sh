#!/usr/bin/env bash
# Builds Tovarel for Linux and runs the whole screen saver, `Tovarel.scr /s`:
# the renderer and the music chosen in build/bin/Tovarel.ini. With a display
# it runs there until Escape; without one it runs on a private Xvfb screen
# for a few seconds, saves a screenshot to out/screenshot.png, and ends the
# run with Escape as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target tovarel_saver tovarel_renderer xwin
bin=build/bin

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$bin/Tovarel.scr" /s
fi

mkdir -p out
source tools/xvfb.sh
start_private_xvfb 1024x768x24

"$bin/Tovarel.scr" /s &
host=$!
"$bin/xwin" wait Lumora_VC 20
sleep "${TOVAREL_SHOT_AFTER:-6}"
"$bin/xwin" shot out/screenshot.png
"$bin/xwin" key Escape
wait $host
echo "saved out/screenshot.png"
