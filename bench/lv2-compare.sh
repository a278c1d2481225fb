#!/usr/bin/env bash
# lv2-compare.sh [BUNDLE] [BLOCK] [FRAMES]: KELDRA (oversampling 4 and 16)
# beside the equalisers Debian users would pick instead, through lilv's
# lv2bench in one run on this machine, as a Markdown table: time per block
# and real-time factor (audio time / processing time), 48 kHz.
#
# Every peer is set as a user comparing equalisers would set it: about five
# active bands (a high-pass, a low-pass, two shelves and one bell where it
# has them), the rest off. lv2bench runs plug-ins at their default control
# values, so each peer runs from a copy of its bundle whose defaults are
# those settings (as the 16x row runs a copy of KELDRA's bundle whose
# Oversampling port defaults to 16x). Mono equalisers run as two instances
# on a stereo track: their figures are doubled.
#
# lv2bench's input is silence: KELDRA sleeps through it (see the README), so
# its rows give the cost of a silent block; the peers cost the same on
# silence as on sound. The chain's cost on sound is keldra-chain-speed's.
#
# Needs lilv-utils, x42-plugins, lsp-plugins-lv2, calf-plugins, ardour (for
# a-EQ), eq10q and zam-plugins; PEER_LV2_DIRS (colon-separated, default
# /usr/lib/lv2) says where the peers' bundles are. Debian 12's lv2bench
# offers no options feature, so a-EQ and ZamEQ2 refuse to run under it: their
# rows then say so.
set -euo pipefail
bundle="$(cd "${1:-build/release/keldra.lv2}" && pwd)"
block="${2:-512}"
frames="${3:-4800000}"
rate=48000
peers="${PEER_LV2_DIRS:-/usr/lib/lv2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# with_defaults NAME BUNDLE_DIR SYMBOL=VALUE...: a copy of the bundle (found
# among the peers' folders) in $work/NAME whose ports of those symbols
# default to those values; nothing when the bundle is not there.
with_defaults() {
  local name="$1" dir="$2" found=""
  shift 2
  IFS=: read -r -a roots <<<"$peers"
  for root in "${roots[@]}"; do
    [ -d "$root/$dir" ] && found="$root/$dir" && break
  done
  [ -n "$found" ] || return 0
  mkdir -p "$work/$name"
  # Dereferenced: bundles link their modules from elsewhere.
  cp -RL "$found" "$work/$name/"
  python3 - "$work/$name/$dir" "$@" <<'PY'
import glob, re, sys
folder, pairs = sys.argv[1], dict(p.split("=", 1) for p in sys.argv[2:])
left = set(pairs)
for path in glob.glob(folder + "/*.ttl"):
    text = open(path).read()
    for symbol, value in pairs.items():
        at = text.find('lv2:symbol "%s"' % symbol)
        if at < 0:
            continue
        # The port's own brackets: scale points nest inside them.
        start, depth = at, 0
        while depth >= 0:
            start -= 1
            depth += {"]": 1, "[": -1}.get(text[start], 0)
        end, depth = at, 0
        while depth >= 0:
            depth += {"[": 1, "]": -1}.get(text[end], 0)
            end += 1
        port, n = re.subn(r"lv2:default\s+[^;\]\s]+", "lv2:default " + value, text[start:end], count=1)
        if n == 0:
            port = port[:-1] + "lv2:default %s ;\n]" % value
        text = text[:start] + port + text[end:]
        left.discard(symbol)
    open(path, "w").write(text)
assert not left, "no port %s" % sorted(left)
PY
}

# The 16x copy of KELDRA: the oversampling port's default switched to 1.
mkdir -p "$work/x4" "$work/x16"
ln -s "$bundle" "$work/x4/keldra.lv2"
cp -R "$bundle" "$work/x16/keldra.lv2"
sed -i '/lv2:symbol "oversampling"/,/lv2:default/ s/lv2:default 0/lv2:default 1/' "$work/x16/keldra.lv2/keldra.ttl"
grep -A6 'lv2:symbol "oversampling"' "$work/x16/keldra.lv2/keldra.ttl" | grep -q "lv2:default 1" ||
  { echo "no oversampling port default" >&2; exit 1; }

with_defaults fil4 fil4.lv2 HighPass=1 HPfreq=30 LowPass=1 LPfreq=18000 LSsec=1 LSgain=3 HSsec=1 HSgain=-3 \
  sec1=1 gain1=3 sec2=0 sec3=0 sec4=0
with_defaults calf calf.lv2 hp_active=1 lp_active=1 ls_active=1 ls_level=1.41 hs_active=1 hs_level=0.71 \
  p1_active=1 p1_freq=1000 p1_level=1.41
with_defaults lsp lsp-plugins.lv2 ft_0=2 f_0=30 ft_1=5 f_1=100 g_1=1.41 ft_2=1 f_2=1000 g_2=1.41 \
  ft_3=3 f_3=8000 g_3=0.71 ft_4=4 f_4=18000
# eq10q's band types: 2 low-pass (second order), 6 high-pass (second order),
# 9 low shelf, 10 high shelf, 11 bell.
with_defaults eq10q sapistaEQv2.lv2 filter1_enable=1 filter2_enable=1 filter2_gain=3 filter3_enable=1 \
  filter3_gain=3 filter5_type=2 filter5_freq=18000 filter5_enable=1 filter6_enable=1 filter6_gain=-3
# No high- or low-pass in these two: the shelves and one bell.
with_defaults aeq a-eq.lv2 gl=3 g1=3 gh=-3 filtog2=0 filtog3=0 filtog4=0
with_defaults zam ZamEQ2.lv2 boostl=3 boost1=3 boosth=-3

# bench NAME LV2_PATH URI [INSTANCES]: one table row from lv2bench's
# "SECONDS URI" line.
bench() {
  local seconds instances="${4:-1}"
  seconds="$( (LV2_PATH="$2" lv2bench -b "$block" -n "$frames" "$3" 2>"$work/errors" || true) |
    awk -v uri="$3" -v n="$instances" '$2 == uri {print $1 * n}')"
  # lv2bench offers no options feature, which some plug-ins require.
  [ -n "$seconds" ] || { echo "| $1 | not run: $(head -c 120 "$work/errors" | head -1) | | |"; return; }
  awk -v name="$1" -v s="$seconds" -v block="$block" -v frames="$frames" -v rate="$rate" 'BEGIN {
    printf "| %s | %.2f | %.1f | %.0f |\n", name, s * 1e6 * block / frames, s * 1e3, (frames / rate) / s }'
}

echo "lv2bench: $frames stereo frames ($((frames / rate)) s at $rate Hz) in blocks of $block"
echo
echo "| plug-in | µs per block | ms in all | real-time factor |"
echo "|---|---:|---:|---:|"
bench "KELDRA, oversampling 4x (silent input: asleep)" "$work/x4" urn:brackenfold:keldra
bench "KELDRA, oversampling 16x (silent input: asleep)" "$work/x16" urn:brackenfold:keldra
bench "x42 fil4 stereo, 5 bands" "$work/fil4" http://gareus.org/oss/lv2/fil4#stereo
bench "Calf Equalizer8Band, 5 bands" "$work/calf" http://calf.sourceforge.net/plugins/Equalizer8Band
# Debian 12's LSP has no eight-band parametric equaliser; its smallest is x16.
bench "LSP para_equalizer_x16_stereo, 5 bands" "$work/lsp" http://lsp-plug.in/plugins/lv2/para_equalizer_x16_stereo
bench "eq10q 6-band stereo, 5 bands" "$work/eq10q" http://eq10q.sourceforge.net/eq/eq6qs
bench "Ardour a-EQ, 3 bands, two mono instances" "$work/aeq" urn:ardour:a-eq 2
bench "ZamEQ2, 4 bands, two mono instances" "$work/zam" urn:zamaudio:ZamEQ2 2
