#!/bin/sh
# check-windows-module.sh OBJDUMP FILE [--exports NAME...]: fails unless FILE
# (a Windows module or program) imports only from system DLLs, so it runs
# without any MinGW runtime beside it, and, given --exports, exports exactly
# the NAMEs.
set -eu
objdump=$1
file=$2
shift 2
table=$("$objdump" -p "$file")

# The DLLs every Windows x64 system has; a MinGW runtime (libstdc++-6,
# libgcc_s_seh-1, libwinpthread-1) or any other library is a failure.
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msimg32.dll msvcrt.dll"
system_dlls="$system_dlls ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll"
system_dlls="$system_dlls windowscodecs.dll wininet.dll winmm.dll ws2_32.dll "
status=0
imports=$(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table found in $file"; exit 1; }
for dll in $imports; do
  case "$system_dlls" in
    *" $dll "*) ;;
    *) echo "imports $dll, which is not a system DLL"; status=1 ;;
  esac
done

if [ "${1:-}" = "--exports" ]; then
  shift
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  # The name pointer table lists one "[ n] Name" line per exported name.
  found=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([A-Za-z_][A-Za-z0-9_]*\)$/\1/p' | sort | tr '\n' ' ')
  if [ "$found" != "$expected" ]; then
    echo "exported: $found"
    echo "expected: $expected"
    status=1
  fi
fi
exit $status
