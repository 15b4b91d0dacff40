#!/usr/bin/env bash
# Renders one frame of the real scene on a private Xvfb screen and cuts the
# 152 x 112 preview still out of it: saver/resources/preview.bmp.
set -euo pipefail
cd "$(dirname "$0")/../.."

# Frame 1854: the cloudy sky has been up since frame 695; a flyer with its
# wings wide open sits just right of the centre with a loose ring of smaller
# ones about it, clouds at the top, bottom left and right.
frame=1854
# The cut, in frame pixels (left, top, width; the height follows from 152:112),
# and how much crispness to give back after shrinking.
crop=(170 70 820)
sharpen=0.5

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target capture_frames make_preview >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(
  source tools/xvfb.sh
  start_private_xvfb 1024x768x24
  build/bin/capture_frames "$work" "$frame"
)
mkdir -p saver/resources
build/bin/make_preview "$work/$(printf 'frame_%04d.png' "$frame")" saver/resources/preview.bmp "${crop[@]}" "$sharpen"
echo "wrote saver/resources/preview.bmp from frame $frame"
