#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
# The editor tests need an X server: a virtual one runs for the suite.
xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --preset release -j"$(nproc)" --timeout 300
