#!/bin/sh
# check-exports.sh MODULE [NAME...]: fails unless the module's dynamic symbol
# table defines exactly the NAMEs (by default the VST3 entry points).
set -eu
module=$1
shift
[ $# -gt 0 ] || set -- ExitDll GetPluginFactory InitDll ModuleEntry ModuleExit
expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
found=$(nm -D --defined-only "$module" | awk '{print $3}' | sort | tr '\n' ' ')
if [ "$found" != "$expected" ]; then
  echo "exported: $found"
  echo "expected: $expected"
  exit 1
fi
