#!/usr/bin/env bash
# Screenshot of the settings dialog of the Windows build, under Wine on a
# private X screen, for the README: docs/dialog-windows.png (or the file
# given). Builds what it needs first.
#   tools/screenshot-dialog-wine.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/dialog-windows.png}")
[ -f build-windows/bin/Tovarel.scr ] || bash tools/build-windows.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target xwin
programs=$(mktemp -d -t tovarel-shot-XXXXXX)
trap 'rm -rf "$programs"' EXIT
cp build-windows/bin/Tovarel.scr build-windows/bin/Tovarel.dll "$programs/"
export TOVAREL_SHOT_OUT=$out TOVAREL_SHOT_PROGRAMS=$programs TOVAREL_XWIN=$PWD/build/bin/xwin
tests/wine/wine-session.sh -t 180 bash -c '
  set -e
  cd "$TOVAREL_SHOT_PROGRAMS"
  timeout -k 5 120 "$WINE" Tovarel.scr /c &
  scr=$!
  "$TOVAREL_XWIN" wait "<Tovarel>" 60
  sleep 2  # the first paint and the zoom are over
  "$TOVAREL_XWIN" shot "$TOVAREL_SHOT_OUT" "<Tovarel>"
  "$TOVAREL_XWIN" close "<Tovarel>"
  wait "$scr"
'
echo "wrote $out"
