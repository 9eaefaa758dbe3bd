#!/usr/bin/env bash
# Builds everything and runs every test. Extra arguments go to ctest.
# BUILD_DIR (default build) and OMBRISA_SANITIZE=1 (AddressSanitizer + UBSan) select the build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
build=${BUILD_DIR:-build}
sanitize=${OMBRISA_SANITIZE:-0}
werror=$([ "${CI:-}" = true ] && echo ON || echo OFF) # CI: warnings are errors
# Tests and benchmarks on explicitly: scripts/run.sh configures the same folder without them.
cmake -S . -B "$build" -G Ninja -DOMBRISA_TESTS=ON -DOMBRISA_BENCH=ON -DOMBRISA_SANITIZE=$([ "$sanitize" = 1 ] && echo ON || echo OFF) \
      -DOMBRISA_WERROR=$werror >/dev/null
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)" "$@"
