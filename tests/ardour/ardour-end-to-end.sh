#!/bin/sh
# End-to-end test in a real host: Ardour 7, headless.
#   ardour-end-to-end.sh BUNDLE CHECKER [LV2_BUNDLE]
# Scans the bundle, builds a session with a stereo track fed by Ardour's sine
# generator through KELDRA, sets parameters, exports, saves; then reopens the
# session, checks the restored parameters and exports again. Both exports must
# match what the host library renders for the same signal and settings.
# Ardour must list KELDRA by its maker.
# Everything happens in a fresh temporary HOME; exit 77 (skipped) without Ardour.
# With LV2_BUNDLE, Ardour runs KELDRA as an LV2 plug-in from that bundle and
# the exports are still held against the VST3 BUNDLE's rendering.
set -eu
bundle=$1
checker=$2
lv2_bundle=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
settings="OUT=-3 HPF=0.3 GainH=0.7 GainM=0.4 GainL=0.35"
preset=6b1d9c3e-5f0a-4c1e-9a57-0c4b6e2f8d11
lib=/usr/lib/ardour7

if [ ! -x "$lib/luasession" ] || [ ! -x "$lib/ardour-vst3-scanner" ]; then
  echo "Ardour 7 is not installed; skipping"
  exit 77
fi

work=$(mktemp -d /tmp/keldra-ardour-XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
export VST3_PATH="$work/vst3"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/ardour7/export" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$VST3_PATH"
cp -R "$bundle" "$VST3_PATH/KELDRA.vst3"
cp "$here/keldra-float.preset" "$XDG_CONFIG_HOME/ardour7/export/"
if [ -n "$lv2_bundle" ]; then
  # LV2 needs no scan: Ardour reads the bundles in LV2_PATH when it starts.
  export LV2_PATH="$work/lv2" KELDRA_PLUGIN_TYPE=LV2
  mkdir -p "$LV2_PATH"
  cp -R "$lv2_bundle" "$LV2_PATH/keldra.lv2"
fi

# Ardour's session only reads the scanner's cache, and trusts it only when it
# is newer than the module by a whole second.
touch -d '-10 seconds' "$VST3_PATH/KELDRA.vst3/Contents/x86_64-linux/KELDRA.so"
LD_LIBRARY_PATH=$lib "$lib/ardour-vst3-scanner" -f "$VST3_PATH/KELDRA.vst3" > "$work/scan.log" 2>&1 || {
  cat "$work/scan.log"; echo "FAIL: the scanner rejected the bundle"; exit 1; }
grep -q 'uid="E25B913CA407186D426B66644B6C6431" name="KELDRA"' "$XDG_CACHE_HOME"/ardour7/vst/*.v3i || {
  cat "$work/scan.log"; echo "FAIL: the scan did not describe KELDRA"; exit 1; }

# session MODE SESSION EXPORT ARGS...: runs one headless session until it
# prints EXPORTED, its last step. Ardour 7's headless session crashes now and
# then in its own export and shutdown code, with or without this plug-in
# loaded, so a run that dies early is repeated from a clean copy (up to five
# times); a run that always dies fails the test.
session() {
  mode=$1 dir=$2 out=$3
  shift 3
  for attempt in 1 2 3 4 5; do
    rm -rf "$dir.try" "$out"
    mkdir -p "$out"
    if [ "$mode" = reopen ]; then cp -R "$dir" "$dir.try"; fi
    LD_LIBRARY_PATH=$lib ARDOUR_DATA_PATH=/usr/share/ardour7 ARDOUR_CONFIG_PATH=/etc/ardour7 \
      ARDOUR_DLL_PATH=$lib VAMP_PATH=$lib/vamp \
      timeout 300 "$lib/luasession" "$here/keldra-session.lua" -- "$mode" "$dir.try" "$out" "$@" \
      > "$work/$mode.log" 2>&1 || true
    if grep -q "^EXPORTED\$" "$work/$mode.log"; then
      [ "$mode" = create ] && { rm -rf "$dir"; mv "$dir.try" "$dir"; }
      return 0
    fi
    echo "Ardour session ($mode) attempt $attempt ended early:"; tail -3 "$work/$mode.log"
  done
  cat "$work/$mode.log"; echo "FAIL: Ardour session ($mode) never finished"; exit 1
}

# shellcheck disable=SC2086
session create "$work/session" "$work/export1" "$preset" $settings
session reopen "$work/session" "$work/export2" "$preset"
grep -q "^MAKER Brackenfold\$" "$work/create.log" || { echo "FAIL: Ardour lists KELDRA without its maker"; exit 1; }
grep "^PARAM" "$work/create.log" | sort > "$work/params1"
grep "^PARAM" "$work/reopen.log" | sort > "$work/params2"
echo "parameters after reopening:"; cat "$work/params2"
for setting in $settings; do
  title=${setting%%=*}
  value=${setting#*=}
  grep -q "^PARAM $title $(printf '%.6f' "$value")\$" "$work/params2" || {
    echo "FAIL: $title was not restored to $value"; exit 1; }
done
cmp -s "$work/params1" "$work/params2" || { echo "FAIL: parameters differ after reopening"; exit 1; }

# shellcheck disable=SC2086
"$checker" "$bundle" "$work/export1"/*.wav $settings
# shellcheck disable=SC2086
"$checker" "$bundle" "$work/export2"/*.wav $settings
echo "PASS"
