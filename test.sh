#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
# Every instruction-set path of the oversampled loop that this processor can
# run must compute exactly what the others do: the chain tests on each.
for path in portable sse2 $(grep -qw avx /proc/cpuinfo && echo avx); do
  KELDRA_CHAIN_PATH=$path build/release/tests/effect/effect_dsp_tests --gtest_brief=1
  KELDRA_CHAIN_PATH=$path build/release/tests/effect/effect_process_tests --gtest_brief=1
done
# The signal chain's portable lanes (processors without SSE2) must compute
# exactly what the SSE2 lanes do: the same tests, built without them.
cmake --preset portable >/dev/null
cmake --build --preset portable -j"$(nproc)" --target effect_dsp_tests effect_process_tests
build/portable/tests/effect/effect_dsp_tests --gtest_brief=1
build/portable/tests/effect/effect_process_tests --gtest_brief=1

# The editor tests need an X server: a virtual one runs for the suite.
xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --preset release -j"$(nproc)" --timeout 300

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer. The
# reports go to files, so that one from a program a test expects to fail
# (keldra-render on bad input) counts too: any report fails the run. Ardour
# cannot load a sanitized module, and a package is made of the release build
# only, so those two tests run in the release suite alone; so do the LV2
# checks that run the module in Debian's (unsanitized) LV2 hosts.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
reports="$(mktemp -d)"
status=0
ASAN_OPTIONS="log_path=$reports/asan" UBSAN_OPTIONS="log_path=$reports/ubsan" \
  xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" \
  ctest --preset asan -j"$(nproc)" --timeout 300 -E '^(ardour_end_to_end(_lv2)?|debian_package|lv2apply_renders_as_vst3|KeldraLV2Editor\.InJalv.*)$' || status=$?
if grep -l -E 'ERROR: |runtime error' "$reports"/* 2>/dev/null; then
  cat "$reports"/*
  status=1
fi
rm -rf "$reports"

# Both of a host's threads at once on the VST3 and CLAP builds (editor drags,
# automation, state, attach and detach) under ThreadSanitizer: any race
# report fails the run.
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$(nproc)" --target thread_stress_tests binding_core_tests
TSAN_OPTIONS="halt_on_error=1" xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" \
  ctest --preset tsan --timeout 300 -R '^(VST3AndCLAP/ThreadStress|EveryFormat/BindingCore)\.' || status=$?

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
xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --preset windows -j"$(nproc)" --timeout 300 || status=$?
stop_wine
# Every instruction-set path of the chain under Wine as well, AVX included
# where this processor has it: the same tests as on Linux, the Windows build.
for path in portable sse2 $(grep -qw avx /proc/cpuinfo && echo avx); do
  for suite in effect_dsp_tests effect_process_tests; do
    KELDRA_CHAIN_PATH=$path cmake/wine-run.sh build/windows/wine build/windows/tests/effect/$suite.exe \
      --gtest_brief=1 || status=$?
  done
done
stop_wine
tests/tools/cross-system-check.sh build/release build/windows || status=$?
stop_wine
exit "$status"
