#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Tovarel need.
# Safe to rerun: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  # renderer (Linux)
  libgl-dev libglu1-mesa-dev libx11-dev libxext-dev libxtst-dev libxss-dev libxrandr-dev
  libpng-dev zlib1g-dev
  # art generators (the dialog's JPEG markers)
  libjpeg-dev
  # saver host (Linux)
  qt6-base-dev libxfixes-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev libcdio-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-tools
  # the dialog's Japanese font (a metric-compatible stand-in for MS P Gothic)
  fonts-ipafont-gothic
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev libjpeg-dev
  xvfb xauth x11-utils x11-xserver-utils libgl1-mesa-dri mesa-utils
  # the renderer's start-up bench watches windows being drawn (DAMAGE)
  libxdamage-dev
  openbox
  sox libsox-fmt-mp3 lame
  pulseaudio pulseaudio-utils
  clang libclang-rt-14-dev
  # Windows build, tested under Wine
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine wine64 locales
  # Wine's own fonts (Debian ships them apart): Tahoma, Marlett for the caption buttons
  fonts-wine
  # packages: the Windows installer, the Debian package's check
  nsis lintian
  # Linux idle daemons the saver is tested under (and xss-lock's private bus)
  xscreensaver xscreensaver-gl xss-lock xautolock dbus-daemon
  # the package's desktop checks: xsecurelock runs its saver, the metainfo
  # and desktop files pass their validators
  xsecurelock appstream desktop-file-utils
  # the X11 GL hacks the renderer's start-up is measured against (atlantis, flurry)
  xscreensaver-gl-extra
  # a Wayland session for the renderer's tests: weston's headless backend with Xwayland
  weston xwayland
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine's code page follows the locale; the Windows tests run in Japanese
# (932), and the settings also in Chinese (936).
for wanted in ja_JP zh_CN; do
  if ! locale -a 2>/dev/null | grep -qi "^${wanted}\.utf-\?8\$"; then
    sed -i "s/^# *\(${wanted}.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${wanted}.UTF-8 UTF-8" /etc/locale.gen || echo "${wanted}.UTF-8 UTF-8" >> /etc/locale.gen
    generate=1
  fi
done
if [ -n "${generate:-}" ]; then locale-gen; fi
