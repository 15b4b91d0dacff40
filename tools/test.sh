#!/usr/bin/env bash
# Builds Tovarel for Linux and for Windows and runs the whole test suite:
# unit, GL, X11 and audio tests, and the Windows programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
bash tools/build-windows.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 "$@"
