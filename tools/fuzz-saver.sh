#!/usr/bin/env bash
# Builds the saver's libFuzzer targets with clang and runs each one briefly.
# Usage: tools/fuzz-saver.sh [seconds per target, default 20]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${root}/build-fuzz-saver"
seconds="${1:-20}"
targets=(saver_ini_fuzz saver_number_fuzz)

cmake -S "${root}" -B "${build}" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAREL_FUZZ=ON -DTOVAREL_TESTS=ON -DTOVAREL_BENCH=OFF
cmake --build "${build}" -j2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  corpus="${build}/corpus/${target}"
  mkdir -p "${corpus}"
  echo "== ${target} (${seconds} s)"
  (cd "${build}" && "${build}/bin/${target}" -max_total_time="${seconds}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "${corpus}") || status=1
done
exit "${status}"
