#!/usr/bin/env bash
# lv2-compare.sh [BUNDLE] [BLOCK] [FRAMES]: KELDRA (oversampling 4 and 16)
# beside the equalisers Debian users would pick instead, through lilv's
# lv2bench in one run on this machine, as a Markdown table: time per block
# and real-time factor (audio time / processing time). lv2bench runs each
# plug-in with its default settings at 48 kHz; the 16x row runs a copy of
# the bundle whose Oversampling port defaults to 16x.
# Needs lilv-utils, x42-plugins, lsp-plugins-lv2 and calf-plugins.
set -euo pipefail
bundle="$(cd "${1:-build/release/keldra.lv2}" && pwd)"
block="${2:-512}"
frames="${3:-4800000}"
rate=48000
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The 16x copy: the oversampling port's default switched to 1.
mkdir -p "$work/x4" "$work/x16"
ln -s "$bundle" "$work/x4/keldra.lv2"
cp -R "$bundle" "$work/x16/keldra.lv2"
python3 - "$work/x16/keldra.lv2/keldra.ttl" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path).read()
text, count = re.subn(r'(lv2:symbol "oversampling" ;.*?lv2:default )0', r'\g<1>1', text, count=1, flags=re.S)
assert count == 1, "no oversampling port default"
open(path, "w").write(text)
PY

# bench NAME LV2_PATH URI: one table row from lv2bench's "SECONDS URI" line.
bench() {
  local seconds
  seconds="$( (LV2_PATH="$2" lv2bench -b "$block" -n "$frames" "$3" 2>/dev/null || true) |
    awk -v uri="$3" '$2 == uri {print $1}')"
  [ -n "$seconds" ] || { echo "| $1 | not run (is it installed?) | | |"; return; }
  awk -v name="$1" -v s="$seconds" -v block="$block" -v frames="$frames" -v rate="$rate" 'BEGIN {
    printf "| %s | %.2f | %.1f | %.0f |\n", name, s * 1e6 * block / frames, s * 1e3, (frames / rate) / s }'
}

echo "lv2bench: $frames stereo frames ($((frames / rate)) s at $rate Hz) in blocks of $block"
echo
echo "| plug-in | µs per block | ms in all | real-time factor |"
echo "|---|---:|---:|---:|"
bench "KELDRA, oversampling 4x" "$work/x4" urn:brackenfold:keldra
bench "KELDRA, oversampling 16x" "$work/x16" urn:brackenfold:keldra
system=/usr/lib/lv2
bench "x42 fil4 stereo" "$system" http://gareus.org/oss/lv2/fil4#stereo
# Debian 12's LSP has no eight-band parametric equaliser; its smallest is x16.
bench "LSP para_equalizer_x16_stereo" "$system" http://lsp-plug.in/plugins/lv2/para_equalizer_x16_stereo
bench "Calf Equalizer5Band" "$system" http://calf.sourceforge.net/plugins/Equalizer5Band
