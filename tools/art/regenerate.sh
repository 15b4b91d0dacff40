#!/usr/bin/env bash
# Rebuilds make_art and make_saver_art in a throwaway build folder and
# rewrites the renderer's bitmaps in renderer/resources, the button's state
# pictures in saver/button/resources and the dialog's markers, hand cursor
# and icon in saver/dialog/resources. The preview still comes from a
# rendered frame: make-preview.sh. Commit the result with a word on what
# changed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(mktemp -d)"
trap 'rm -rf "$build"' EXIT

cat > "$build/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(TovarelArt LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_BUILD_TYPE Release)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/bin)
add_subdirectory("$root/tools/art" art)
CMAKE

cmake -S "$build" -B "$build/out" >/dev/null
cmake --build "$build/out" --target make_art make_saver_art -j2 >/dev/null
"$build/out/bin/make_art" "$root/renderer/resources"
echo "wrote flyer_127.bmp, sky_123.bmp, blue_124.bmp to renderer/resources"
"$build/out/bin/make_saver_art" "$root/saver"
echo "wrote the six button pictures to saver/button/resources"
echo "wrote marker_off.jpg, marker_on.jpg, hand.cur, tovarel.ico to saver/dialog/resources"
