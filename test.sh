#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
# The signal chain's portable lanes (processors without SSE2) must compute
# exactly what the SSE2 lanes do: the same tests, built without them.
cmake --preset portable >/dev/null
cmake --build --preset portable -j"$(nproc)" --target effect_dsp_tests effect_process_tests
build/portable/tests/effect/effect_dsp_tests --gtest_brief=1
build/portable/tests/effect/effect_process_tests --gtest_brief=1

# The editor tests need an X server: a virtual one runs for the suite.
xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --preset release -j"$(nproc)" --timeout 300

# The Windows x64 build: cross-built with MinGW-w64, its suites run under Wine
# (the window tests on a virtual X server too), then held against the Linux
# build: the same renders and state in both directions.
# Wine's server and desktop outlive the last program for a while, keeping the
# X display they started with: stop them for the prefix before the windows
# need the virtual display, and when done.
stop_wine() { WINEPREFIX="$PWD/build/windows/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
stop_wine
wine_status=0
xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --preset windows -j"$(nproc)" --timeout 300 || wine_status=$?
stop_wine
tests/tools/cross-system-check.sh build/release build/windows || wine_status=$?
stop_wine
exit "$wine_status"
