#!/usr/bin/env bash
# Cross-builds the Windows programs (and the Windows-side test programs) into
# build-windows/bin with mingw-w64, and the packages into build-windows: the
# installer Tovarel-<version>-setup.exe and the ZIP Tovarel-<version>-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows
cmake --build --preset windows
# The ZIP of both programs and the read-me (the installer is part of the build).
(cd build-windows && cpack -G ZIP)
