#!/usr/bin/env bash
# Redraws the front-panel artwork into resources/img/.
# Needs python3 and rsvg-convert (Debian: python3, librsvg2-bin, fonts-dejavu-core).
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1  # keep the source folder clean

here="$(cd "$(dirname "$0")" && pwd)"
out="$here/img"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

draw() {  # draw <png> <artwork arguments...>
  local png="$1"; shift
  python3 "$here/artwork" "$@" >"$work/image.svg"
  rsvg-convert --format=png --output="$png" "$work/image.svg"
}

mkdir -p "$out"
draw "$work/panel.png" panel
draw "$out/bg.png" background "$work/panel.png"
draw "$out/by.png" switch "$work/panel.png"
draw "$out/OVER.png" legend "$work/panel.png"
for knob in GainH GainL GainM HPF LPF OUT; do
  draw "$out/$knob.png" knob "$knob" "$work/panel.png"
done
