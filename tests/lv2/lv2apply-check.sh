#!/usr/bin/env bash
# lv2apply-check.sh LV2_BUNDLE KELDRA_RENDER VST3_BUNDLE COMPARE_RENDERS: the
# same 32-bit input through Debian's lv2apply (LV2) and keldra-render (VST3)
# at several settings, the host bypass included, with keldra-render in
# one-frame blocks and in its default 512-frame blocks: every sample
# bit-identical, or within -120 dB of the RMS where a setting is not a
# single-precision number (LV2 control ports carry floats).
set -euo pipefail
bundle="$1" render="$2" vst3="$3" compare="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# lilv reads every bundle in LV2_PATH: give it this one alone.
mkdir "$work/lv2"
ln -s "$(cd "$bundle" && pwd)" "$work/lv2/keldra.lv2"
export LV2_PATH="$work/lv2"

# The demo signal untouched: rendered through the host bypass.
"$render" --plugin "$vst3" --bypass --demo 2 "$work/in.wav" >/dev/null

# name | identical or within | keldra-render options | lv2apply controls
settings=(
  "defaults|identical||"
  "bright|identical|--set GainH=0.75 --set HPF=0.5 --set OUT=-3|-c gain_h 0.75 -c hpf 0.5 -c out_gain -3"
  "dark16x|identical|--set LPF=-0.25 --set GainM=0.875 --set GainL=0.25 --set OUT=4.5 --oversampling 16|-c lpf -0.25 -c gain_m 0.875 -c gain_l 0.25 -c out_gain 4.5 -c oversampling 1"
  "rounded|within|--set LPF=-0.2 --set GainM=0.9 --set HPF=0.3 --set OUT=-1.7|-c lpf -0.2 -c gain_m 0.9 -c hpf 0.3 -c out_gain -1.7"
  "in-off|identical|--set Bypass=1 --set GainH=1|-c bypass 1 -c gain_h 1"
  "host-bypass|identical|--bypass --set GainH=1 --set OUT=12|-c enable 0 -c gain_h 1 -c out_gain 12"
)
status=0
for entry in "${settings[@]}"; do
  IFS='|' read -r name expect vst3_options lv2_controls <<<"$entry"
  # shellcheck disable=SC2086  # the options are words
  lv2apply -i "$work/in.wav" -o "$work/$name-lv2.wav" $lv2_controls urn:brackenfold:keldra
  for block in 1 512; do
    # shellcheck disable=SC2086
    "$render" --plugin "$vst3" --block "$block" $vst3_options "$work/in.wav" "$work/$name-vst3-$block.wav" >/dev/null
    echo -n "$name, VST3 blocks of $block: "
    if [ "$expect" = identical ]; then
      python3 "$compare" "$work/$name-vst3-$block.wav" "$work/$name-lv2.wav" --identical || status=1
    else
      # "largest difference D = X dB of the RMS R": X must be -120 or below.
      report="$(python3 "$compare" "$work/$name-vst3-$block.wav" "$work/$name-lv2.wav")" || status=1
      echo "$report"
      awk '{for (i = 1; i < NF; ++i) if ($(i + 1) == "dB") exit !($i <= -120)}' <<<"$report" || {
        echo "$name: more than -120 dB of the RMS apart"
        status=1
      }
    fi
  done
done
exit "$status"
