#!/bin/sh
# The Debian package, as a user gets it.
#   package-check.sh BUILD_DIR
# Makes the package from the built release tree with cpack, checks its
# contents, dependencies and lintian's verdict, unpacks it into a temporary
# root with dpkg-deb -x (never into the machine's /usr), runs the unpacked
# keldra-render against the unpacked bundle, checks the factory presets in
# the VST3 preset folder against the bundle's programs, the manual page, runs the
# unpacked LV2 bundle with lilv's tools, and has Ardour's VST3 scanner scan
# the unpacked usr/lib/vst3.
# Exit 77 (skipped) when Ardour's scanner is not installed, after all else.
set -eu
build=$(cd "$1" && pwd)
scanner_lib=/usr/lib/ardour7

work=$(mktemp -d /tmp/keldra-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -B "$work/package") > "$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; fail "cpack did not make the package"; }
deb=$(ls "$work"/package/keldra_*_amd64.deb)
echo "package: $(basename "$deb")"

# Dependencies come from dpkg-shlibdeps, so they name the libraries' packages.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libsndfile1 libpng16-16 libx11-6 libfreetype6 libfontconfig1; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library"
done

lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 || {
  cat "$work/lintian.log"; fail "lintian reports errors"; }
echo "lintian: no errors"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/keldra-render usr/lib/vst3/KELDRA.vst3/Contents/x86_64-linux/KELDRA.so \
    usr/share/man/man1/keldra-render.1.gz usr/share/doc/keldra/copyright usr/share/doc/keldra/changelog.gz; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done
render="$root/usr/bin/keldra-render"
bundle="$root/usr/lib/vst3/KELDRA.vst3"

# Without --plugin the unpacked program loads the bundle unpacked beside it.
"$render" --list > "$work/list.txt" || fail "keldra-render --list failed"
grep -q "GainM" "$work/list.txt" || { cat "$work/list.txt"; fail "--list shows no GainM"; }
"$render" --demo 0.5 --set GainH=0.7 "$work/demo.wav" > "$work/demo.txt" || fail "the demo render failed"
grep -q "24000 frames" "$work/demo.txt" || { cat "$work/demo.txt"; fail "the demo render wrote no audio"; }
mv "$bundle" "$work/moved.vst3"
if "$render" --list > /dev/null 2> "$work/missing.txt"; then
  fail "keldra-render ran without the unpacked bundle, so it was loading another one"
fi
grep -q "cannot load plug-in" "$work/missing.txt" || { cat "$work/missing.txt"; fail "unexpected message"; }
mv "$work/moved.vst3" "$bundle"
echo "keldra-render: --list and a demo render through the unpacked bundle"

# The factory presets: a .vstpreset for KELDRA's class per program but "-",
# named as the program list names them.
presets="$root/usr/share/vst3/presets/Brackenfold/KELDRA"
"$render" --list-presets | grep -vx -- - | sort > "$work/programs.txt"
(cd "$presets" && ls) | sed 's/\.vstpreset$//' | sort > "$work/preset-files.txt"
[ "$(wc -l <"$work/programs.txt")" -ge 10 ] && cmp -s "$work/programs.txt" "$work/preset-files.txt" || {
  diff "$work/programs.txt" "$work/preset-files.txt"; fail "the preset files do not match the programs"; }
for file in "$presets"/*.vstpreset; do
  [ "$(head -c 40 "$file" | tail -c 32)" = E25B913CA407186D426B66644B6C6431 ] || fail "$file is not KELDRA's"
done
echo "presets: $(wc -l <"$work/programs.txt") .vstpreset files in /usr/share/vst3/presets/Brackenfold/KELDRA"

# The CLAP plug-in: exports clap_entry alone and renders as the bundle does.
clap="$root/usr/lib/clap/KELDRA.clap"
[ -f "$clap" ] || fail "the package lacks /usr/lib/clap/KELDRA.clap"
exports=$(nm -D --defined-only "$clap" | awk '{print $3}' | tr '\n' ' ')
[ "$exports" = "clap_entry " ] || fail "KELDRA.clap exports: $exports"
"$render" --plugin "$clap" --demo 0.5 --set GainH=0.7 "$work/demo-clap.wav" > /dev/null || fail "the CLAP render failed"
# Samples, not whole files: the writer stamps each file with the time it was made.
python3 "$(dirname "$0")/compare-renders.py" "$work/demo.wav" "$work/demo-clap.wav" --identical \
  > "$work/compare.txt" || { cat "$work/compare.txt"; fail "the CLAP render differs from the bundle's"; }
echo "CLAP: /usr/lib/clap/KELDRA.clap exports clap_entry alone and renders as the bundle does"

# The manual page renders without warnings and names every option of --help.
manual="$root/usr/share/man/man1/keldra-render.1.gz"
warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; fail "the manual page has warnings"; }
LC_ALL=C MANWIDTH=200 man -l "$manual" > "$work/manual.txt" 2>/dev/null
for option in $("$render" --help | grep -o -- '--[a-z]*' | sort -u); do
  grep -q -e "$option" "$work/manual.txt" || fail "the manual page does not describe $option"
done
echo "manual page: no warnings, every option described"

# The LV2 bundle: lilv (as LV2 hosts read it) finds KELDRA in the unpacked
# usr/lib/lv2 alone, and lv2apply runs it.
for file in keldra.so manifest.ttl keldra.ttl presets.ttl; do
  [ -f "$root/usr/lib/lv2/keldra.lv2/$file" ] || fail "the package lacks /usr/lib/lv2/keldra.lv2/$file"
done
LV2_PATH="$root/usr/lib/lv2" lv2info urn:brackenfold:keldra > "$work/lv2info.txt" 2>&1 || {
  cat "$work/lv2info.txt"; fail "lv2info does not find KELDRA in the unpacked usr/lib/lv2"; }
LV2_PATH="$root/usr/lib/lv2" lv2apply -i "$work/demo.wav" -o "$work/demo-lv2.wav" urn:brackenfold:keldra \
  > "$work/lv2apply.txt" 2>&1 && [ -s "$work/demo-lv2.wav" ] || {
  cat "$work/lv2apply.txt"; fail "lv2apply cannot run the unpacked LV2 bundle"; }
echo "LV2: lv2info and lv2apply find KELDRA in the unpacked usr/lib/lv2"

if [ ! -x "$scanner_lib/ardour-vst3-scanner" ]; then
  echo "Ardour 7 is not installed; the scan is skipped"
  exit 77
fi
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
LD_LIBRARY_PATH=$scanner_lib "$scanner_lib/ardour-vst3-scanner" -f "$root/usr/lib/vst3/KELDRA.vst3" \
  > "$work/scan.log" 2>&1 || { cat "$work/scan.log"; fail "Ardour's scanner rejected the unpacked bundle"; }
grep -q 'uid="E25B913CA407186D426B66644B6C6431" name="KELDRA"' "$XDG_CACHE_HOME"/ardour7/vst/*.v3i || {
  cat "$work/scan.log"; fail "Ardour's scan did not describe KELDRA"; }
echo "Ardour's scanner: KELDRA found in the unpacked usr/lib/vst3"
echo "PASS"
