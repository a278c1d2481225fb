#!/bin/sh
# cross-system-check.sh LINUX_BUILD WINDOWS_BUILD: the Windows build renders
# as the Linux build does, and state saved by either restores in the other.
# The Windows programs run under Wine in the Windows build's own prefix.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
wine_run="$here/../../cmake/wine-run.sh $windows/wine"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render_linux() { "$linux/tools/keldra-render" --plugin "$linux/KELDRA.vst3" "$@" >/dev/null; }
render_windows() { $wine_run "$windows/tools/keldra-render.exe" --plugin "$windows/KELDRA.vst3" "$@" >/dev/null; }

# One input for both: the demo signal as the Linux build makes it (the host's
# bypass passes it through bit for bit), since the two systems' sine and
# exponential functions differ in their last bits.
render_linux --demo 1 --bypass "$work/demo.wav"

# name|options: a few settings across the parameters, both oversampling
# factors, double precision and the host's bypass.
cases="default|
boosted|--set OUT=-6 --set GainH=0.9 --set GainM=0.3 --set GainL=0.7
filtered|--set HPF=0.5 --set LPF=-0.2 --oversampling 16 --block 100
double|--precision 64 --set GainH=0.1 --set GainL=0.9 --set OUT=3
bypass|--bypass --set GainH=0.9"
echo "$cases" | while IFS='|' read -r name options; do
  # shellcheck disable=SC2086 # the options are words on purpose
  render_linux $options "$work/demo.wav" "$work/$name-linux.wav"
  # shellcheck disable=SC2086
  render_windows $options "$work/demo.wav" "$work/$name-windows.wav"
  identical=""
  [ "$name" = bypass ] && identical=--identical
  python3 "$here/compare-renders.py" "$work/$name-linux.wav" "$work/$name-windows.wav" $identical
done

# Each instruction-set path of the Windows build renders exactly what its
# default path does (AVX only where this processor has it).
for path in portable sse2 $(grep -qw avx /proc/cpuinfo && echo avx); do
  KELDRA_CHAIN_PATH=$path render_windows --set HPF=0.5 --set LPF=-0.2 --oversampling 16 --block 100 \
    "$work/demo.wav" "$work/filtered-windows-$path.wav"
  python3 "$here/compare-renders.py" "$work/filtered-windows.wav" "$work/filtered-windows-$path.wav" --identical
done

# Rendering twice to one name replaces the file (Windows' rename does not).
render_windows --demo 0.1 "$work/again.wav"
render_windows --demo 0.1 --set OUT=-6 "$work/again.wav"

# A preset saved by either build loads in the other: the same class id as
# hosts print it, and every value.
settings="OUT=-7.5 HPF=0.3 LPF=-0.1 GainH=0.75 GainM=0.25 GainL=0.6 6=1"
# shellcheck disable=SC2086
"$linux/tests/tools/keldra-state-check" "$linux/KELDRA.vst3" save "$work/linux.vstpreset" $settings \
  >"$work/linux-saves.txt"
# shellcheck disable=SC2086
$wine_run "$windows/tests/tools/keldra-state-check.exe" "$windows/KELDRA.vst3" check "$work/linux.vstpreset" $settings \
  >"$work/windows-reads-linux.txt"
# shellcheck disable=SC2086
$wine_run "$windows/tests/tools/keldra-state-check.exe" "$windows/KELDRA.vst3" save "$work/windows.vstpreset" $settings \
  >"$work/windows-saves.txt"
# shellcheck disable=SC2086
"$linux/tests/tools/keldra-state-check" "$linux/KELDRA.vst3" check "$work/windows.vstpreset" $settings \
  >"$work/linux-reads-windows.txt"
linux_id=$(sed -n 's/^class id: //p' "$work/linux-saves.txt")
windows_id=$(sed -n 's/^class id: //p' "$work/windows-saves.txt")
if [ "$linux_id" != E25B913CA407186D426B66644B6C6431 ] || [ "$windows_id" != "$linux_id" ]; then
  echo "class ids differ: Linux $linux_id, Windows $windows_id" >&2
  exit 1
fi
cmp "$work/linux.vstpreset" "$work/windows.vstpreset"
diff "$work/windows-reads-linux.txt" "$work/linux-reads-windows.txt"
echo "class id $linux_id in both builds; preset: $(wc -c <"$work/linux.vstpreset") bytes, identical from both builds, loaded with the same values in each"
