#!/usr/bin/env bash
# Pictures of the settings dialog, taken from the real program (`Tovarel.scr
# /c`) on a private X server:
#
#   tools/screenshot-dialog.sh           docs/dialog-linux.png: a music file chosen
#   tools/screenshot-dialog.sh --golden  tests/saver/dialog/golden/dialog_linux.png:
#                                        no settings file, as the dialog test opens it
#
# Each build has a function below that opens the dialog in a folder of its
# own and saves the window's client area; a build's switch picks it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Music that the docs picture shows as chosen. The dialog only checks that
# the file can be read; the name is in code page 932 in Tovarel.ini.
docs_music=/tmp/tovarel-screenshot/ミュージック/夜明けの空.mp3

write_settings() {  # FOLDER KIND REPEAT FILE
  printf '[Section]\r\nBGM区分= %s\r\nBGMﾘﾋﾟｰﾄ= %s\r\nBGMﾌｧｲﾙ=%s\r\n' "$2" "$3" "$4" |
    iconv -f UTF-8 -t CP932 >"$1/Tovarel.ini"
}

linux_shot() {  # docs|golden OUTPUT
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2 --target tovarel_saver tovarel_renderer xwin >/dev/null
  local bin=$root/build/bin
  source tools/xvfb.sh
  start_private_xvfb 1024x768x24
  work=$(mktemp -d)
  trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$xvfb_runtime" "$work" /tmp/tovarel-screenshot' EXIT
  cp "$bin/Tovarel.scr" "$bin/Tovarel.dll" "$work/"
  if [ "$1" = docs ]; then
    mkdir -p "$(dirname "$docs_music")"
    : >"$docs_music"
    write_settings "$work" 2 0 "$docs_music"
  fi
  # Away from every control: no hover look.
  "$bin/xwin" pointer 0 0
  "$work/Tovarel.scr" /c &
  local host=$!
  "$bin/xwin" wait '<Tovarel>' 20
  sleep 1  # painted, and the zoom has long ended
  mkdir -p "$(dirname "$2")"
  "$bin/xwin" shot "$2" '<Tovarel>'
  "$bin/xwin" close '<Tovarel>'
  wait $host
  echo "saved $2"
}

case "${1:-}" in
  "") linux_shot docs docs/dialog-linux.png ;;
  --golden) linux_shot golden tests/saver/dialog/golden/dialog_linux.png ;;
  *)
    echo "usage: tools/screenshot-dialog.sh [--golden]" >&2
    exit 2
    ;;
esac
