#!/usr/bin/env bash
# Cross-builds the Windows programs (and the Windows-side test programs) into
# build-windows/bin with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows
cmake --build --preset windows
