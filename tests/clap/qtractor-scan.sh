#!/bin/sh
# qtractor-scan.sh MODULE: Qtractor's own plug-in scanner, a real host built
# against the official CLAP headers, loads MODULE and must describe KELDRA:
# stereo in and out, no MIDI, nine parameters, an editor, real-time safe.
# Exit 77 (skipped) when Qtractor is not installed.
set -eu
module=$1
scanner=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan
[ -x "$scanner" ] || { echo "Qtractor is not installed; the scan is skipped"; exit 77; }
home=$(mktemp -d /tmp/keldra-qtractor-XXXXXX)
trap 'rm -rf "$home"' EXIT
line=$(printf 'CLAP:%s\n' "$module" | HOME="$home" timeout 60 "$scanner" 2>"$home/scan.err" | grep '^CLAP|' || true)
echo "scanned: $line"
case "$line" in
  "CLAP|KELDRA|2:2|0:0|9:0|GUI,EXT,RT|$module|0|"*) echo "PASS" ;;
  *) cat "$home/scan.err"; echo "FAIL: Qtractor's scanner does not describe KELDRA as expected"; exit 1 ;;
esac
