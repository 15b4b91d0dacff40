#!/usr/bin/env bash
# Runs one command inside the same Wine session the tests use: a private
# Xvfb display, a fresh prefix, the Japanese locale and a null sound device.
#   tests/wine/wine-session.sh [-s WIDTHxHEIGHT] [-t SECONDS] command [args...]
# Inside, $WINE is the loader; e.g. `wine-session.sh sh -c '$WINE prog.exe'`.
set -euo pipefail

screen=1024x768
limit=600
while getopts "s:t:" opt; do
  case $opt in
    s) screen=$OPTARG ;;
    t) limit=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || { echo "usage: $0 [-s WxH] [-t seconds] command [args...]" >&2; exit 2; }

find_tool() {
  for candidate in "$@"; do
    if [ "${candidate#/}" != "$candidate" ]; then [ -x "$candidate" ] && { echo "$candidate"; return; }
    else command -v "$candidate" 2>/dev/null && return; fi
  done
  return 1
}
WINE=${TOVAREL_WINE:-$(find_tool wine64 /usr/lib/wine/wine64 wine)}
WINESERVER=${TOVAREL_WINESERVER:-$(find_tool wineserver /usr/lib/wine/wineserver64)}

work=$(mktemp -d -t tovarel-wine-XXXXXX)
xvfb_pid=
cleanup() {
  timeout 30 "$WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$work/home/.asoundrc"
unset WAYLAND_DISPLAY XAUTHORITY LANGUAGE
export DISPLAY=":$(head -n1 "$work/display")" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER="$WINE" WINESERVER="$WINESERVER" \
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" WINE

# A persistent server first: it serves wineboot and everything after it.
mkdir -p "$WINEPREFIX"
timeout -k 5 30 "$WINESERVER" -p60
timeout -k 5 180 "$WINE" wineboot -i >/dev/null 2>&1
timeout -k 5 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The system's IPA Gothic fonts stand in for the Japanese Windows fonts.
ipa=/usr/share/fonts/opentype/ipafont-gothic
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
for f in ipagp.ttf ipag.ttf; do [ -r "$ipa/$f" ] && ln -sf "$ipa/$f" "$WINEPREFIX/drive_c/windows/Fonts/$f"; done
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for name in 'ＭＳ Ｐゴシック' 'MS PGothic' 'ＭＳ ＵＩ Gothic' 'MS UI Gothic'; do printf '"%s"="IPAPGothic"\r\n' "$name"; done
  for name in 'ＭＳ ゴシック' 'MS Gothic'; do printf '"%s"="IPAGothic"\r\n' "$name"; done
} | iconv -f UTF-8 -t UTF-16 > "$work/fonts.reg"
timeout -k 5 60 "$WINE" regedit /S "Z:${work//\//\\}\\fonts.reg" >/dev/null 2>&1
set +e
timeout -k 5 "$limit" "$@"
status=$?
exit $status
