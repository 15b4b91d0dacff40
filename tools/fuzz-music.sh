#!/usr/bin/env bash
# Builds the music's fuzz targets with clang in their own build folder and
# runs each for a short while: the MCI command parser, and the interpreter
# running command strings on a fake sound sink with no CD drive.
# Usage: tools/fuzz-music.sh [seconds per target]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz-music"
seconds="${1:-20}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAREL_FUZZ=ON -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=OFF
cmake --build "$build" --target fuzz_mci_parser fuzz_mci_interpreter -j2

corpus="$build/fuzz-music-corpus"
mkdir -p "$corpus"
printf 'open "C:\\My Music\\a b.mp3" type MPEGVideo Alias MP3Play' > "$corpus/open"
printf 'play cdaudio from 03:00:00:00 to 04:01:02:03' > "$corpus/play"
printf 'status cdaudio position track 3' > "$corpus/status"
printf 'open cdaudio\nset cdaudio time format tmsf\nstatus cdaudio current track\nplay cdaudio\nclose cdaudio' \
  > "$corpus/cd-session"
printf 'open "missing.mp3" type MPEGVideo Alias MP3Play\nstatus MP3Play mode\nclose all' > "$corpus/file-session"

"$build/bin/fuzz_mci_parser" -max_total_time="$seconds" -max_len=512 "$corpus"
# GStreamer keeps caches for the life of the process; they are not leaks.
"$build/bin/fuzz_mci_interpreter" -max_total_time="$seconds" -max_len=512 -detect_leaks=0 "$corpus"
