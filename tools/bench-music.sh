#!/usr/bin/env bash
# Builds the music benchmarks (Linux interpreter, timing sink) in their own
# build folder and runs them, after a line about the machine they ran on.
# Usage: tools/bench-music.sh [build folder] [benchmark options...]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-bench-music}"
[ $# -gt 0 ] && shift

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=ON >/dev/null
cmake --build "$build" --target music_bench -j2

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
echo "machine: $(nproc) cores, ${cpu:-unknown CPU}, load $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bin/music_bench" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
