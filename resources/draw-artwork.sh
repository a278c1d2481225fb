#!/usr/bin/env bash
# Redraws the front-panel artwork into resources/img/: the images the editor
# shows at scale 1, and the same drawings at twice the resolution
# (NAME@2x.png) for high-density screens.
# Needs python3 and rsvg-convert (Debian: python3, librsvg2-bin, fonts-dejavu-core).
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1  # keep the source folder clean

here="$(cd "$(dirname "$0")" && pwd)"
out="$here/img"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

draw() {  # draw <zoom> <png> <artwork arguments...>
  local zoom="$1" png="$2"; shift 2
  python3 "$here/artwork" "$@" >"$work/image.svg"
  rsvg-convert --zoom="$zoom" --format=png --output="$png" "$work/image.svg"
}

# The same geometry at each zoom: the documents stay in panel pixels, and the
# panel every strip is cut from is the one rendered at that zoom.
draw_set() {  # draw_set <zoom> <file suffix>
  local zoom="$1" suffix="$2" panel="$work/panel$2.png"
  draw "$zoom" "$panel" panel
  draw "$zoom" "$out/bg$suffix.png" background "$panel"
  draw "$zoom" "$out/by$suffix.png" switch "$panel"
  draw "$zoom" "$out/OVER$suffix.png" legend "$panel"
  for knob in GainH GainL GainM HPF LPF OUT; do
    draw "$zoom" "$out/$knob$suffix.png" knob "$knob" "$panel"
  done
}

mkdir -p "$out"
draw_set 1 ""
draw_set 2 "@2x"
