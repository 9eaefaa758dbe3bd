#!/usr/bin/env bash
# Builds the archive fuzzer with clang (libFuzzer, AddressSanitizer, UBSan) in build-fuzz, replays the
# checked-in corpus (tests/fuzz/corpus), then fuzzes for the given seconds (default 60).
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
# A fuzzer that cannot be built is a failure, never a silent skip: try the toolchain on a trivial target
# first (whatever the machine's architecture), and say what is missing.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
    >"$probe/probe.cpp"
if ! command -v clang++ >/dev/null; then
    echo "fuzz: FAILED: clang++ is missing (scripts/deps.sh test installs clang and libclang-rt-14-dev)" >&2
    exit 1
fi
if ! clang++ -fsanitize=fuzzer,address "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/log"; then
    cat "$probe/log" >&2
    echo "fuzz: FAILED: clang++ cannot link a libFuzzer target on $(uname -m) (libclang-rt-14-dev missing?)" >&2
    exit 1
fi
rm -rf "$probe"
trap - EXIT
build=${FUZZ_BUILD_DIR:-build-fuzz}
CXX=clang++ cmake -S . -B "$build" -G Ninja -DOMBRISA_FUZZ=ON -DOMBRISA_GUI=OFF -DOMBRISA_TESTS=OFF \
    -DOMBRISA_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target ombrisa_fuzz_archive
fuzzer=$build/bin/ombrisa_fuzz_archive
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The commands' own complaints about damaged input go to the log; a crash shows its end.
if ! "$fuzzer" -runs=0 tests/fuzz/corpus >"$work/replay.log" 2>&1; then
    tail -60 "$work/replay.log"
    exit 1
fi
echo "fuzz: corpus replayed ($(ls tests/fuzz/corpus | wc -l) inputs)"
mkdir "$work/corpus"
if ! "$fuzzer" -max_total_time="$seconds" -max_len=16384 -artifact_prefix="$work/" "$work/corpus" tests/fuzz/corpus \
    >"$work/fuzz.log" 2>&1; then
    tail -60 "$work/fuzz.log"
    for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
        [ -e "$crash" ] && { echo "input: $crash"; od -A d -t x1 "$crash" | head -20; }
    done
    exit 1
fi
grep -E "^#[0-9]+.*DONE" "$work/fuzz.log" | tail -1 || true
