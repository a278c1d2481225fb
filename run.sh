#!/usr/bin/env bash
# Installs the dependencies, builds the release configuration, installs the
# VST3, LV2 and CLAP plug-ins, renders the demo signal and the response plots
# through the VST3 one into out/ and makes the Debian packages (amd64 and
# arm64) and the Windows installer there.
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
# Its factory presets, where VST3 hosts look for the user's own (KELDRA_VST3_PRESET_DIR overrides).
preset_dir="${KELDRA_VST3_PRESET_DIR:-$HOME/.vst3/presets/Brackenfold/KELDRA}"
mkdir -p "$preset_dir"
cp build/release/vst3-presets/*.vstpreset "$preset_dir/"
echo "installed the factory presets in $preset_dir"

# Install the LV2 bundle where Linux LV2 hosts look for it (KELDRA_LV2_DIR overrides).
lv2_dir="${KELDRA_LV2_DIR:-$HOME/.lv2}"
mkdir -p "$lv2_dir"
rm -rf "$lv2_dir/keldra.lv2"
cp -R build/release/keldra.lv2 "$lv2_dir/"
echo "installed $lv2_dir/keldra.lv2"

# Install the CLAP plug-in where Linux CLAP hosts look for it (KELDRA_CLAP_DIR overrides).
clap_dir="${KELDRA_CLAP_DIR:-$HOME/.clap}"
mkdir -p "$clap_dir"
cp build/release/KELDRA.clap "$clap_dir/KELDRA.clap"
echo "installed $clap_dir/KELDRA.clap"

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

# The arm64 Debian package, cross-built: out/keldra_<version>_arm64.deb, its
# dependencies computed from Debian's arm64 libraries.
cmake --preset arm64 >/dev/null
cmake --build --preset arm64 -j"$(nproc)" \
  --target keldra_vst3_module keldra_lv2_module keldra_clap_module keldra-render keldra_package_docs \
  keldra_vst3_presets
DEB_HOST_ARCH=arm64 cpack --config build/arm64/CPackConfig.cmake -B "$PWD/out"
rm -rf out/_CPack_Packages

# The Windows installer and a portable zip of the same files, cross-built:
# out/KELDRA-<version>-win64-setup.exe and out/KELDRA-<version>-win64.zip.
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target windows_installer
cp build/windows/installer/KELDRA-*-win64-setup.exe build/windows/installer/KELDRA-*-win64.zip out/
