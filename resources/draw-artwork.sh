#!/usr/bin/env bash
# Redraws the front-panel artwork into resources/img/: the images the editor
# shows at scale 1, and the same drawings at twice the resolution
# (NAME@2x.png) for high-density screens; and for the Windows installer
# KELDRA's icon, packaging/windows/keldra.ico, and the picture beside its
# welcome and finish pages, packaging/windows/welcome.bmp.
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

# The icon at every size Windows shows one: drawn at each, not scaled down.
draw_icon() {  # draw_icon <ico>
  local pngs=()
  python3 "$here/artwork" icon >"$work/icon.svg"
  for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert --width="$size" --height="$size" --format=png \
      --output="$work/icon-$size.png" "$work/icon.svg"
    pngs+=("$work/icon-$size.png")
  done
  python3 "$here/artwork" ico "${pngs[@]}" >"$1"
}

draw_welcome() {  # draw_welcome <bmp>
  python3 "$here/artwork" wizard >"$work/welcome.svg"
  rsvg-convert --width=164 --height=314 --format=png --output="$work/welcome.png" "$work/welcome.svg"
  python3 "$here/artwork" bmp "$work/welcome.png" >"$1"
}

mkdir -p "$out"
draw_set 1 ""
draw_set 2 "@2x"
draw_icon "$here/../packaging/windows/keldra.ico"
draw_welcome "$here/../packaging/windows/welcome.bmp"
