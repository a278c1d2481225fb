#!/bin/sh
# installer-check.sh INSTALLER [clap]: the Windows installer in a fresh Wine
# prefix ("clap": the installer carries the CLAP plug-in too).
# A silent install puts every file and Add/Remove Programs value in place; the
# installed keldra-render finds the installed bundle by itself and renders
# through it; installing again (an upgrade) replaces the files; a silent
# uninstall removes every file, folder and key the installer made and leaves
# the rest of the prefix as it was.
set -eu
installer=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
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

files="Program Files/Common Files/VST3/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3
Program Files/KELDRA/keldra-render.exe
Program Files/KELDRA/README.txt
Program Files/KELDRA/LICENSE.txt
Program Files/KELDRA/uninstall.exe"
[ "${2:-}" = clap ] && files="$files
Program Files/Common Files/CLAP/KELDRA.clap"
check_installed() {
  echo "$files" | while IFS= read -r f; do [ -s "$c/$f" ] || fail "missing after install: $f"; done
  run reg query "$key" >"$work/reg.txt" || fail "no Add/Remove Programs entry"
  for value in 'DisplayName	REG_SZ	KELDRA' 'DisplayVersion	REG_SZ	3.0.0' 'Publisher	REG_SZ	Brackenfold' \
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

run "$installer" /S || fail "silent install failed"
check_installed
# The installed program loads the installed bundle without being told where.
run "$c/Program Files/KELDRA/keldra-render.exe" --demo 0.25 'C:\demo.wav' >"$work/render.txt" ||
  fail "the installed keldra-render did not render: $(cat "$work/render.txt" "$work/err")"
grep -q '^wrote C:\\demo.wav: 2 channels, 48000 Hz, 12000 frames' "$work/render.txt" ||
  fail "unexpected render report: $(cat "$work/render.txt")"
rm -f "$c/demo.wav"

# An upgrade over an installed copy: an old module is replaced, one entry remains.
echo old >"$c/Program Files/Common Files/VST3/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3"
run "$installer" /S || fail "silent reinstall failed"
check_installed
[ "$(wc -c <"$c/Program Files/Common Files/VST3/KELDRA.vst3/Contents/x86_64-win/KELDRA.vst3")" -gt 4 ] ||
  fail "the upgrade left the old module"

run "$c/Program Files/KELDRA/uninstall.exe" /S || fail "silent uninstall failed"
snapshot >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" || fail "the uninstaller left the prefix different"
echo "installer: $(echo "$files" | wc -l) files and the Add/Remove Programs entry installed, rendered through, upgraded, removed without a trace"
