#!/usr/bin/env bash
# Captures the settings dialog of the Windows build under Wine (a fresh
# session, no Tovarel.ini) and stores its client area as the golden image
# tests/saver/dialog/golden/dialog_wine.png.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-windows/bin/Tovarel.scr ] || bash tools/build-windows.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target saver_gui_wine_tests
TOVAREL_WRITE_GOLDEN=1 build/bin/saver_gui_wine_tests --gtest_filter='DialogWine.WholeDialogMatchesItsGoldenImage'
