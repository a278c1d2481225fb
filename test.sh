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

# The arm64 build: cross-built for aarch64-linux-gnu, its suites run under
# qemu, the editor tests on the virtual X server. Left out there: the Debian
# package test (made and checked from the x86-64 build); what starts the arm64 programs in x86-64 hosts or from a shell, which cannot
# run them without qemu: Qtractor's scan, jalv, the LV2 scripts and the
# keldra-render program tests (the arm64 render check below runs keldra-render
# and lv2apply under qemu); and the two checks that starting a missing program
# fails, since under qemu the start succeeds and the program then fails. The
# suite runs on the NEON path, named so that the chain tests check it is the
# one taken; the chain tests run again on the portable path.
cmake --preset arm64 >/dev/null
cmake --build --preset arm64 -j"$(nproc)"
arm64_left_out='debian_package|clap_qtractor_scan|lv2_bundle_as_designed|lv2apply_renders_as_vst3|KeldraLV2Editor\.InJalv.*'
arm64_left_out+='|KeldraRender\..*|PanelOption\..*|ChildProcess\.RunCollectsOutputAndExitCode'
arm64_left_out+='|LinuxDesktopTest\.MissingBrowserLauncherOrAddressOpensNothing'
KELDRA_CHAIN_PATH=neon xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" \
  ctest --preset arm64 -j"$(nproc)" --timeout 300 -E "^($arm64_left_out)\$" || status=$?
for suite in effect_dsp_tests effect_process_tests; do
  KELDRA_CHAIN_PATH=portable qemu-aarch64-static build/arm64/tests/effect/$suite --gtest_brief=1 || status=$?
done
tests/tools/arm64-render-check.sh build/release build/arm64 || status=$?
# The arm64 Debian package, made as ./run.sh makes it: no lintian warnings.
arm64_deb="$(mktemp -d)"
{ DEB_HOST_ARCH=arm64 cpack --config build/arm64/CPackConfig.cmake -B "$arm64_deb" >/dev/null &&
  lintian --fail-on error,warning "$arm64_deb"/keldra_*_arm64.deb; } || status=$?
rm -rf "$arm64_deb"
exit "$status"
