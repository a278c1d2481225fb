#!/usr/bin/env bash
# Installs the dependencies, builds the release configuration, installs the
# bundle, renders the demo signal and the response plots through it into out/
# and makes the Debian package and the Windows installer there.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"

# Install the bundle where Linux VST3 hosts look for it (KELDRA_VST3_DIR overrides).
vst3_dir="${KELDRA_VST3_DIR:-$HOME/.vst3}"
mkdir -p "$vst3_dir"
rm -rf "$vst3_dir/KELDRA.vst3"
cp -R build/release/KELDRA.vst3 "$vst3_dir/"
echo "installed $vst3_dir/KELDRA.vst3"

# The demo signal through the installed bundle, with the default settings and
# with a brighter, thinner setting (high shelf up, high-pass raised, 3 dB down).
mkdir -p out
./build/release/tools/keldra-render --plugin "$vst3_dir/KELDRA.vst3" --demo 5 out/demo-default.wav
./build/release/tools/keldra-render --plugin "$vst3_dir/KELDRA.vst3" --demo 5 \
  --set GainH=0.75 --set HPF=0.5 --set OUT=-3 out/demo-bright.wav

# The front panel as the editor draws it, for a look without a host.
./build/release/tools/keldra-render --plugin "$vst3_dir/KELDRA.vst3" --panel out/panel.png \
  --set GainH=0.8 --set HPF=0.3 --set OUT=6 --oversampling 16

# What the two demo settings do, measured through the installed bundle.
./build/release/tools/keldra-render --plugin "$vst3_dir/KELDRA.vst3" --response out/response-default.svg
./build/release/tools/keldra-render --plugin "$vst3_dir/KELDRA.vst3" --response out/response-bright.svg \
  --set GainH=0.75 --set HPF=0.5 --set OUT=-3

# The Debian package: out/keldra_<version>_amd64.deb.
cpack --config build/release/CPackConfig.cmake -B "$PWD/out"
rm -rf out/_CPack_Packages

# The Windows installer and a portable zip of the same files, cross-built:
# out/KELDRA-<version>-win64-setup.exe and out/KELDRA-<version>-win64.zip.
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target windows_installer
cp build/windows/installer/KELDRA-*-win64-setup.exe build/windows/installer/KELDRA-*-win64.zip out/
