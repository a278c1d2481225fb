#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under wine64 in
# the Wine prefix PREFIX (created on first use) and exits with its exit code.
# Wine's helper processes inherit the program's output handles and keep them
# open, so a reader waiting for end of file (ctest, a pipe) would stall: the
# output goes to files first and is printed afterwards, without Wine's CRs.
set -u
prefix=$1
shift
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
wine_dir=/usr/lib/wine
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$prefix.ready" ]; then
    # Parallel tests may all start on a fresh prefix: one creates it while the
    # others wait, and none uses it before it is complete.
    # Wine's own faces (Tahoma, MS Sans Serif …) are only found in the
    # prefix's font folder, not where the package installs them.
    mkdir -p "$prefix"
    flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX.ready" ] ||
        { "$0/wine64" wineboot -i >/dev/null 2>&1 </dev/null &&
          cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" &&
          touch "$WINEPREFIX.ready"; }' "$wine_dir"
fi

out=$(mktemp) || exit 1
err=$(mktemp) || exit 1
"$wine_dir/wine64" "$@" >"$out" 2>"$err" </dev/null
status=$?
tr -d '\r' <"$out"
tr -d '\r' <"$err" >&2
rm -f "$out" "$err"
exit $status
