#!/usr/bin/env bash
# Builds the MCI command parser's fuzz target with clang in its own build
# folder and runs it for a short while. Usage: tools/fuzz-music.sh [seconds]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz-music"
seconds="${1:-20}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAREL_FUZZ=ON -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=OFF
cmake --build "$build" --target fuzz_mci_parser -j2

corpus="$build/fuzz-music-corpus"
mkdir -p "$corpus"
printf 'open "C:\\My Music\\a b.mp3" type MPEGVideo Alias MP3Play' > "$corpus/open"
printf 'play cdaudio from 03:00:00:00 to 04:01:02:03' > "$corpus/play"
printf 'status cdaudio position track 3' > "$corpus/status"

"$build/bin/fuzz_mci_parser" -max_total_time="$seconds" -max_len=512 "$corpus"
