#!/usr/bin/env bash
# arm64-render-check.sh X86_BUILD ARM64_BUILD: the arm64 build, run under
# qemu, renders as the x86-64 build does; each of its chain paths renders the
# same bits; and Debian's arm64 lv2apply on its LV2 bundle renders what its
# keldra-render does through its VST3 bundle.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
x86=$(cd "$1" && pwd)
arm64=$(cd "$2" && pwd)
qemu=(qemu-aarch64-static)
lv2apply_arm64=/opt/keldra-arm64/usr/bin/lv2apply
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render_x86() { "$x86/tools/keldra-render" --plugin "$x86/KELDRA.vst3" "$@" >/dev/null; }
render_arm64() { "${qemu[@]}" "$arm64/tools/keldra-render" --plugin "$arm64/KELDRA.vst3" "$@" >/dev/null; }

# One input for both: the demo signal as the x86-64 build makes it (the host's
# bypass passes it through bit for bit), since the two systems' sine and
# exponential functions may differ in their last bits.
render_x86 --demo 1 --bypass "$work/demo.wav"

# name|identical or within|options: a few settings across the parameters,
# both oversampling factors, double precision and the host's bypass. The 16x
# case with moving filters may differ in the last bits (the two systems'
# mathematical functions do), within -120 dB of the RMS.
cases="default|identical|
boosted|identical|--set OUT=-6 --set GainH=0.9 --set GainM=0.3 --set GainL=0.7
filtered|within|--set HPF=0.5 --set LPF=-0.2 --oversampling 16 --block 100
double|identical|--precision 64 --set GainH=0.1 --set GainL=0.9 --set OUT=3
bypass|identical|--bypass --set GainH=0.9"
status=0
while IFS='|' read -r name expect options; do
  # shellcheck disable=SC2086 # the options are words on purpose
  render_x86 $options "$work/demo.wav" "$work/$name-x86.wav"
  # shellcheck disable=SC2086
  render_arm64 $options "$work/demo.wav" "$work/$name-arm64.wav"
  echo -n "$name, x86-64 against arm64: "
  if [ "$expect" = identical ]; then
    python3 "$here/compare-renders.py" "$work/$name-x86.wav" "$work/$name-arm64.wav" --identical || status=1
  else
    # "largest difference D = X dB of the RMS R": X must be -120 or below.
    report="$(python3 "$here/compare-renders.py" "$work/$name-x86.wav" "$work/$name-arm64.wav")" || status=1
    echo "$report"
    awk '{for (i = 1; i < NF; ++i) if ($(i + 1) == "dB") exit !($i <= -120)}' <<<"$report" || {
      echo "$name: more than -120 dB of the RMS apart"
      status=1
    }
  fi
done <<<"$cases"

# Each chain path of the arm64 build renders exactly what its default does.
for path in portable neon; do
  KELDRA_CHAIN_PATH=$path render_arm64 --set HPF=0.5 --set LPF=-0.2 --oversampling 16 --block 100 \
    "$work/demo.wav" "$work/filtered-arm64-$path.wav"
  echo -n "arm64 $path path: "
  python3 "$here/compare-renders.py" "$work/filtered-arm64.wav" "$work/filtered-arm64-$path.wav" --identical ||
    status=1
done

# lv2apply against keldra-render, both arm64: the LV2 check's own cases,
# with both programs run under qemu.
mkdir "$work/bin"
printf '#!/bin/sh\nexec %s %s "$@"\n' "${qemu[*]}" "$lv2apply_arm64" >"$work/bin/lv2apply"
printf '#!/bin/sh\nexec %s %s "$@"\n' "${qemu[*]}" "$arm64/tools/keldra-render" >"$work/bin/keldra-render"
chmod +x "$work/bin/lv2apply" "$work/bin/keldra-render"
PATH="$work/bin:$PATH" "$here/../lv2/lv2apply-check.sh" "$arm64/keldra.lv2" "$work/bin/keldra-render" \
  "$arm64/KELDRA.vst3" "$here/compare-renders.py" || status=1
exit "$status"
