#!/usr/bin/env bash
# Installs every Debian package KELDRA needs to build, test and benchmark.
# Idempotent: when everything is present it only checks and exits.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  juce-modules-source-data
  libpng-dev zlib1g-dev
  libx11-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libsndfile1-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth libxtst-dev
  ardour
  librsvg2-bin python3
  # Windows x64 cross build, tested under Wine
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest wine64 wine fonts-wine fonts-liberation
  # CLAP: a real host's scanner loads the plug-in; a session in it runs on a
  # virtual X server with a window manager, driven by xdotool
  qtractor twm xfonts-base xdotool x11-apps x11-utils
  # The Windows installer and the portable zip
  nsis zip unzip
  # Debian package and manual page
  dpkg-dev lintian help2man man-db
  # The LV2 build: its headers, the validator and the hosts it is tested in
  lv2-dev sordi lilv-utils jalv jackd2
  # The equalisers the LV2 benchmark compares with (bench/lv2-compare.sh, by hand)
  x42-plugins lsp-plugins-lv2 calf-plugins
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
