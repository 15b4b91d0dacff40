#!/usr/bin/env bash
# Paints the button's golden faces (every look at 77x25 and 41x21 pixels)
# with the real Command logic over toolkit::raster, GDI's pixel rules, and
# stores them in tests/saver/button/golden. The Windows build under Wine
# and the Qt build are compared with these.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target make_button_faces
build/bin/make_button_faces tests/saver/button/golden
