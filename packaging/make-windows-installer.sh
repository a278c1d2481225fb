#!/bin/sh
# make-windows-installer.sh BUILD OUT VERSION STRIP [CLAP]: from the Windows
# build folder BUILD (its vst3-presets/ holds the factory presets as
# .vstpreset files), makes OUT/KELDRA-VERSION-win64-setup.exe with makensis
# and OUT/KELDRA-VERSION-win64.zip, a portable copy of the same files. The
# shipped module and programs are stripped copies (STRIP is the MinGW strip);
# the build folder keeps its own. The CLAP plug-in CLAP (or else
# BUILD/KELDRA.clap) goes in when the build made it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$3
strip=$4
clap_module=${5:-$build/KELDRA.clap}
name="KELDRA-$version-win64"
stage="$build/installer-stage/$name"

rm -rf "$build/installer-stage"
mkdir -p "$stage/KELDRA.vst3/Contents/x86_64-win"
"$strip" -o "$stage/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3" "$build/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3"
"$strip" -o "$stage/keldra-render.exe" "$build/tools/keldra-render.exe"
mkdir -p "$stage/VST3 Presets"
cp "$build"/vst3-presets/*.vstpreset "$stage/VST3 Presets/"
# The uninstaller deletes exactly the presets installed, never a user's own.
for preset in "$stage/VST3 Presets"/*.vstpreset; do
  printf 'Delete "${PRESET_DIR}\\%s"\n' "$(basename "$preset")"
done >"$build/installer-stage/remove-presets.nsh"
clap=""
if [ -f "$clap_module" ]; then
  "$strip" -o "$stage/KELDRA.clap" "$clap_module"
  clap=-DHAVE_CLAP
fi
# Text files with Windows line ends, named so that Notepad opens them: the
# user's guide is the README of the installed and unpacked copies.
sed 's/$/\r/' "$here/../docs/USER-GUIDE.md" >"$stage/README.txt"
sed 's/$/\r/' "$here/../LICENSE" >"$stage/LICENSE.txt"

makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/$name-setup.exe" $clap \
  -DREMOVE_PRESETS="$build/installer-stage/remove-presets.nsh" \
  "$here/keldra-installer.nsi"
rm -f "$out/$name.zip"
(cd "$build/installer-stage" && zip -qrX "$out/$name.zip" "$name")
echo "made $out/$name-setup.exe and $out/$name.zip"
