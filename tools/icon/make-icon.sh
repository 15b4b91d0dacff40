#!/usr/bin/env bash
# Regenerates the renderer's program icon from its flyer picture.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
c++ -std=c++20 -O2 -Wall -Wextra -o "$work/make_icon" "$root/tools/icon/make_icon.cpp"
"$work/make_icon" "$root/renderer/resources/flyer_127.bmp" "$root/renderer/platform/win32/tovarel.ico"
