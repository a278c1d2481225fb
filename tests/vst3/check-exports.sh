#!/bin/sh
# Fails unless the module's dynamic symbol table defines exactly its entry points.
set -eu
found=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
expected="ExitDll GetPluginFactory InitDll ModuleEntry ModuleExit "
if [ "$found" != "$expected" ]; then
  echo "exported: $found"
  echo "expected: $expected"
  exit 1
fi
