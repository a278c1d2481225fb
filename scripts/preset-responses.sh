#!/bin/sh
# preset-responses.sh [BUILD]: the user's guide's picture of each factory
# preset, measured through the built plug-in (BUILD, default build/release)
# with keldra-render --response and drawn with rsvg-convert:
# docs/preset-<name in lower case, hyphenated>.png. "-" is
# docs/response-default.png already.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}
render="$build/tools/keldra-render"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$render" --plugin "$build/KELDRA.vst3" --list-presets | grep -vx -- - | while IFS= read -r name; do
  file=docs/preset-$(echo "$name" | tr 'A-Z ' 'a-z-').png
  "$render" --plugin "$build/KELDRA.vst3" --preset "$name" --response "$work/response.svg" >/dev/null
  rsvg-convert -w 600 "$work/response.svg" -o "$file"
  echo "wrote $file"
done
