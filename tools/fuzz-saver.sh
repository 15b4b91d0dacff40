#!/usr/bin/env bash
# Builds the saver's libFuzzer targets with clang and runs each one briefly.
# Usage: tools/fuzz-saver.sh [seconds per target, default 20]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${root}/build-fuzz-saver"
seconds="${1:-20}"
targets=(saver_ini_fuzz saver_number_fuzz saver_command_line_fuzz)

cmake -S "${root}" -B "${build}" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAREL_FUZZ=ON -DTOVAREL_TESTS=ON -DTOVAREL_BENCH=OFF
cmake --build "${build}" -j2 --target "${targets[@]}"

# Command lines start with a byte of desktop state: 4 means only the
# renderer is present, 5 and 6 add an open run or dialog, 12 claims held
# by another copy.
seed_command_lines() {
  local corpus="$1" n=0
  for line in '\x04/s' '\x04/S' '\x04/c:4711' '\x04/p 1234' '\x04/P:99' '\x00/p' '\x04' \
              '\x04/a' '\x00/c' '\x05/s' '\x06/p 5' '\x0c/s' '\x0c/c' '\x04/\xc5\xbf' '\x04\xe3\x81\x82s' '\x04/p 1e999'; do
    printf "${line}" > "${corpus}/seed-$((n += 1))"
  done
}

status=0
for target in "${targets[@]}"; do
  corpus="${build}/corpus/${target}"
  mkdir -p "${corpus}"
  if [ "${target}" = saver_command_line_fuzz ]; then seed_command_lines "${corpus}"; fi
  echo "== ${target} (${seconds} s)"
  (cd "${build}" && "${build}/bin/${target}" -max_total_time="${seconds}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "${corpus}") || status=1
done
exit "${status}"
