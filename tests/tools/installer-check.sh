#!/bin/sh
# installer-check.sh INSTALLER VERSION_INFO [clap]: the Windows installer in a
# fresh Wine prefix ("clap": the installer carries the CLAP plug-in too;
# VERSION_INFO is the program that prints a binary's version resource).
# A silent install puts every file (the factory presets in ProgramData\VST3
# Presets with the VST3 plug-in) and Add/Remove Programs value in place,
# and each installed binary carries KELDRA's version; the installed
# keldra-render finds the installed bundle by itself and renders through it;
# installing again (an upgrade) replaces the files; a silent uninstall removes
# every file, folder and key the installer made and leaves the rest of the
# prefix as it was. Then each component is left out in turn
# (/COMPONENTS=...), and the zip beside the installer carries the user's
# guide as its README.txt.
set -eu
installer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
version_info=$2
clap=${3:-}
source=$(cd "$(dirname "$0")/../.." && pwd)
guide=$source/docs/USER-GUIDE.md
icon=$source/packaging/windows/keldra.ico
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "installer-check: $*" >&2; exit 1; }
# Wine's helpers keep inherited output handles open: output goes to files,
# and each step waits for every process of the prefix to end.
run() { "$wine" "$@" >"$work/out" 2>"$work/err" </dev/null; status=$?; /usr/lib/wine/wineserver -w; \
        tr -d '\r' <"$work/out"; return $status; }

"$wine" wineboot -i >/dev/null 2>&1 </dev/null
/usr/lib/wine/wineserver -w
c="$WINEPREFIX/drive_c"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KELDRA'
# What the prefix holds before: the uninstaller must leave exactly this.
snapshot() { (cd "$c" && find "Program Files" "Program Files (x86)" ProgramData | sort); \
             run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s; }
snapshot >"$work/before.txt"

vst3="Program Files/Common Files/VST3/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3"
# One .vstpreset per factory preset but "-", as the build wrote them.
presets=$(cd "$(dirname "$installer")/../vst3-presets" && ls *.vstpreset | sed 's|^|ProgramData/VST3 Presets/Brackenfold/KELDRA/|')
[ "$(echo "$presets" | wc -l)" -ge 10 ] || fail "the build wrote too few presets: $presets"
clap_module="Program Files/Common Files/CLAP/KELDRA.clap"
render="Program Files/KELDRA/keldra-render.exe"
always="Program Files/KELDRA/README.txt
Program Files/KELDRA/LICENSE.txt
Program Files/KELDRA/uninstall.exe"
components="vst3 render"
[ "$clap" = clap ] && components="vst3 clap render"
component_file() { case $1 in vst3) echo "$vst3" ;; clap) echo "$clap_module" ;; render) echo "$render" ;; esac; }

# check_installed COMPONENT...: those components' files and no others, the
# always-installed files, and the Add/Remove Programs entry.
check_installed() {
  files="$always"
  for component in $components; do
    if echo " $* " | grep -q " $component "; then
      files="$files
$(component_file "$component")"
      [ "$component" != vst3 ] || files="$files
$presets"
    elif [ -e "$c/$(component_file "$component")" ]; then
      fail "$component installed though left out"
    fi
  done
  echo "$files" | while IFS= read -r f; do [ -s "$c/$f" ] || fail "missing after install: $f"; done
  tr -d '\r' <"$c/Program Files/KELDRA/README.txt" | cmp -s - "$guide" || fail "README.txt is not the user's guide"
  run reg query "$key" >"$work/reg.txt" || fail "no Add/Remove Programs entry"
  for value in 'DisplayName	REG_SZ	KELDRA' 'DisplayVersion	REG_SZ	3.0.0' 'Publisher	REG_SZ	Brackenfold' \
               'DisplayIcon	REG_SZ	C:\Program Files\KELDRA\uninstall.exe,0' \
               'InstallLocation	REG_SZ	C:\Program Files\KELDRA' \
               'UninstallString	REG_SZ	"C:\Program Files\KELDRA\uninstall.exe"' \
               'QuietUninstallString	REG_SZ	"C:\Program Files\KELDRA\uninstall.exe" /S'; do
    # reg prints name, type and data separated by runs of spaces.
    pattern=$(printf '%s' "$value" | sed 's/[][\\.*^$]/\\&/g; s/	/ +/g')
    grep -Eq "^ +$pattern\$" "$work/reg.txt" || fail "registry value missing or wrong: $value"
  done
  size=$(sed -n 's/^ *EstimatedSize *REG_DWORD *0x//p' "$work/reg.txt")
  [ -n "$size" ] || fail "no EstimatedSize"
  actual=$(echo "$files" | while IFS= read -r f; do stat -c %s "$c/$f"; done |
           awk '{n += $1} END {print int(n / 1024)}')
  # The installer rounds each file down to whole KB.
  [ $((0x$size)) -ge $((actual - 8)) ] && [ $((0x$size)) -le $((actual)) ] ||
    fail "EstimatedSize $((0x$size)) KB, installed $actual KB"
}

# has_icon EXE: EXE shows KELDRA's icon, every image of it byte for byte.
has_icon() { python3 - "$1" "$icon" <<'PY'
import struct, sys
exe, ico = (open(path, "rb").read() for path in sys.argv[1:3])
count = struct.unpack_from("<H", ico, 4)[0]
images = (struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(count))
sys.exit(0 if all(ico[offset:offset + size] in exe for size, offset in images) else 1)
PY
}
has_icon "$installer" || fail "the installer does not show KELDRA's icon"

run "$installer" /S || fail "silent install failed"
check_installed $components
# The uninstaller is the Add/Remove Programs entry's icon.
has_icon "$c/Program Files/KELDRA/uninstall.exe" || fail "the uninstaller does not show KELDRA's icon"
# Each installed binary names its product, maker, version and copyright.
for component in $components; do
  f=$(component_file "$component")
  run "$version_info" "C:\\$(echo "$f" | tr / '\\')" >"$work/version.txt" ||
    fail "no version resource in $f"
  for line in 'FixedVersion: 3.0.0.0' 'ProductName: KELDRA' 'CompanyName: Brackenfold' \
              'FileVersion: 3.0.0' 'ProductVersion: 3.0.0' "OriginalFilename: $(basename "$f")"; do
    grep -qx "$line" "$work/version.txt" || fail "$f: no \"$line\" in its version resource: $(cat "$work/version.txt")"
  done
  grep -q '^FileDescription: KELDRA .' "$work/version.txt" || fail "$f: no file description"
  grep -q '^LegalCopyright: Copyright (C) [0-9]* Brackenfold' "$work/version.txt" || fail "$f: no copyright"
  # The renderer runs without elevation and takes paths past 260 characters.
  [ "$component" != render ] || { grep -q '<requestedExecutionLevel level="asInvoker"' "$work/version.txt" &&
    grep -q '<ws2:longPathAware>true</ws2:longPathAware>' "$work/version.txt"; } ||
    fail "keldra-render.exe has no manifest asking for long paths as invoker: $(cat "$work/version.txt")"
done
# The installed program loads the installed bundle without being told where.
run "$c/$render" --demo 0.25 'C:\demo.wav' >"$work/render.txt" ||
  fail "the installed keldra-render did not render: $(cat "$work/render.txt" "$work/err")"
grep -q '^wrote C:\\demo.wav: 2 channels, 48000 Hz, 12000 frames' "$work/render.txt" ||
  fail "unexpected render report: $(cat "$work/render.txt")"
rm -f "$c/demo.wav"

# An upgrade over an installed copy: an old module is replaced, one entry remains.
echo old >"$c/$vst3"
run "$installer" /S || fail "silent reinstall failed"
check_installed $components
[ "$(wc -c <"$c/$vst3")" -gt 4 ] || fail "the upgrade left the old module"

uninstall() {
  run "$c/Program Files/KELDRA/uninstall.exe" /S || fail "silent uninstall failed"
  snapshot >"$work/after.txt"
  diff "$work/before.txt" "$work/after.txt" || fail "the uninstaller left the prefix different ($*)"
}
uninstall "everything installed"

# Each component left out in turn, the others named.
for left_out in $components; do
  chosen=$(echo $components | tr ' ' '\n' | grep -vx "$left_out" | tr '\n' ' ')
  run "$installer" /S "/COMPONENTS=$(echo $chosen | tr ' ' ,)" || fail "silent install without $left_out failed"
  check_installed $chosen
  uninstall "installed without $left_out"
done

# The portable zip: the same guide, with Windows line ends, and the licence.
zip="${installer%-setup.exe}.zip"
folder=$(basename "${installer%-setup.exe}")
unzip -p "$zip" "$folder/README.txt" >"$work/README.txt" || fail "no README.txt in $zip"
tr -d '\r' <"$work/README.txt" | cmp -s - "$guide" || fail "the zip's README.txt is not the user's guide"
[ "$(grep -c "$(printf '\r')\$" "$work/README.txt")" -eq "$(wc -l <"$work/README.txt")" ] ||
  fail "the zip's README.txt has lines without Windows line ends"
unzip -l "$zip" "$folder/LICENSE.txt" >/dev/null || fail "no LICENSE.txt in $zip"
echo "installer: installed with $components and without each in turn; files, Add/Remove Programs entry and version resources checked, rendered through, upgraded, removed without a trace; the zip carries the user's guide"
