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
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
Xvfb -displayfd 4 -screen 0 1024x768x24 -noreset -nolisten tcp 4>"$runtime/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do [ -s "$runtime/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$runtime/display")"

"$bin/Tovarel.dll" &
saver=$!
"$bin/xwin" wait Lumora_VC 20
sleep "${TOVAREL_SHOT_AFTER:-6}"
"$bin/xwin" shot out/screenshot.png
"$bin/xwin" close Lumora_VC
wait $saver
echo "saved out/screenshot.png"
