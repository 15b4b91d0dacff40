#!/usr/bin/env bash
# Builds the packages of this commit twice, in two fresh build folders at
# different paths, and compares them byte for byte: the Debian package
# (linux), the ZIP, the installer and the winget manifest (windows).
#   bash tools/check-reproducible.sh [linux|windows|all]   (default: all)
# Nothing is set by hand: the dates come from the commit. The compiler cache
# is bypassed, so each build really compiles.
set -euo pipefail
cd "$(dirname "$0")/.."
which="${1:-all}"
export CCACHE_DISABLE=1
unset SOURCE_DATE_EPOCH
status=0

build_linux() {  # folder
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=OFF >/dev/null
  cmake --build "$1" -j2 --target tovarel_saver tovarel_renderer linux_install_files >/dev/null
  (cd "$1" && cpack -G DEB >/dev/null)
}

build_windows() {  # folder
  cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOVAREL_TESTS=OFF -DTOVAREL_BENCH=OFF >/dev/null
  cmake --build "$1" -j2 --target windows_stripped windows_installer >/dev/null
  (cd "$1" && cpack -G ZIP >/dev/null)
}

compare() {  # platform, files relative to the build folders...
  local platform=$1
  shift
  for file in "$@"; do
    if cmp -s "build-repro-$platform-a/$file" "build-repro-$platform-b/$file"; then
      echo "same:    $platform $file ($(stat -c %s "build-repro-$platform-a/$file") bytes)"
    else
      echo "DIFFERS: $platform $file"
      status=1
    fi
  done
}

for platform in linux windows; do
  [ "$which" = all ] || [ "$which" = "$platform" ] || continue
  rm -rf "build-repro-$platform-a" "build-repro-$platform-b"
  "build_$platform" "build-repro-$platform-a"
  sleep 1  # a clock that shows through would now differ
  "build_$platform" "build-repro-$platform-b"
  if [ "$platform" = linux ]; then
    deb=(build-repro-linux-a/tovarel_*_amd64.deb)
    compare linux "${deb[@]#build-repro-linux-a/}"
  else
    manifest=(build-repro-windows-a/winget/manifests/t/Tovarel/Tovarel/*/*.yaml)
    packages=(build-repro-windows-a/Tovarel-*-windows.zip build-repro-windows-a/Tovarel-*-setup.exe "${manifest[@]}")
    compare windows "${packages[@]#build-repro-windows-a/}"
  fi
done
exit $status
