#!/bin/sh
# installer-screenshots.sh INSTALLER OUT: runs the Windows installer as a user
# sees it, in a fresh Wine prefix on a Wine desktop of its own, presses Enter
# through its pages and saves each page as OUT/installer-<page>.png (the
# pictures in docs/). Needs an X display (xvfb-run), xdotool, xwd and python3.
set -eu
installer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mkdir -p "$2"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

"$wine" wineboot -i >/dev/null 2>&1 </dev/null
/usr/lib/wine/wineserver -w
"$wine" explorer /desktop=keldra,800x600 "$installer" >/dev/null 2>&1 </dev/null &
desktop=""
for _ in $(seq 60); do
  desktop=$(xdotool search --name 'keldra - Wine desktop' 2>/dev/null | head -n 1) && [ -n "$desktop" ] && break
  sleep 1
done
[ -n "$desktop" ] || { echo "installer-screenshots: no Wine desktop" >&2; exit 1; }

# shoot PAGE: the installer's window, cut from the desktop around it.
shoot() {
  sleep "${2:-3}"
  xwd -silent -id "$desktop" >"$work/page.xwd"
  python3 "$here/windows/xwd-to-png.py" "$work/page.xwd" "$out/installer-$1.png"
  echo "$out/installer-$1.png"
}
next() { xdotool windowfocus --sync "$desktop" key Return 2>/dev/null || xdotool key Return; }

shoot welcome 8
next; shoot licence
next; shoot components
next; shoot folder
next; shoot progress 20
next; shoot finish
next
"$wine" wineboot -e >/dev/null 2>&1 </dev/null || true
