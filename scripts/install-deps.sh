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
  # The arm64 cross build, run here under qemu; its libraries come through
  # multiarch (the arm64 architecture is added below)
  g++-aarch64-linux-gnu qemu-user-static libc6:arm64
  libpng-dev:arm64 zlib1g-dev:arm64 libx11-dev:arm64 libxtst-dev:arm64
  libfreetype-dev:arm64 libfontconfig-dev:arm64 libsndfile1-dev:arm64
  libgtest-dev:arm64 liblilv-0-0:arm64
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx arm64 || "${sudo_cmd[@]}" dpkg --add-architecture arm64
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The arm64 lv2apply: lilv-utils:arm64 would replace the amd64 one in
# /usr/bin, so its program is unpacked into a folder of its own instead.
arm64_lv2apply=/opt/keldra-arm64/usr/bin/lv2apply
if [ ! -x "$arm64_lv2apply" ]; then
  scratch=$(mktemp -d)
  chmod 755 "$scratch"
  (cd "$scratch" && apt-get download -qq lilv-utils:arm64)
  "${sudo_cmd[@]}" dpkg-deb -x "$scratch"/lilv-utils_*_arm64.deb /opt/keldra-arm64
  rm -rf "$scratch"
fi
