#!/usr/bin/env bash
# Builds Tovarel for Linux and runs the whole test suite (unit, GL, X11,
# audio and, when the Windows programs are built, Wine tests).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 "$@"
