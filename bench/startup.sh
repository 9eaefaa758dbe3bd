#!/usr/bin/env bash
# Start-up time: from launch to the first paint of the password window, against a bare Qt window built
# with the same toolkit, started alternately in the same run. Prints both medians and their ratio.
# Usage: bench/startup.sh [--quick] [BUILD_DIR] [STARTS]   (default build, 15 starts each)
# --quick (the tests' run): one start each, the programs as already built.
# DISPLAY_MODE=xvfb runs both under one Xvfb server instead of the offscreen platform.
set -euo pipefail
if [ "${DISPLAY_MODE:-offscreen}" = xvfb ] && [ -z "${XVFB_CHILD:-}" ]; then
    XVFB_CHILD=1 exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi
cd "$(dirname "$0")/.."
quick=0
if [ "${1:-}" = --quick ]; then
    quick=1
    shift
fi
build=${1:-build}
starts=${2:-15}
[ "$quick" = 1 ] && starts=1
[ "$quick" = 1 ] || cmake --build "$build" --target ombrisa ombrisa-tool bare_window >/dev/null
data=$(mktemp -d)
trap 'rm -rf "$data" "$data.err"' EXIT
# A data folder with archives in it: an empty one is refused as a share that may not be mounted.
"$build/bin/ombrisa-tool" generate --dir "$data" --clients 20 --calls 20 --agents 2 --works 2 >/dev/null
export OMBRISA_DATA="$data"
[ "${DISPLAY_MODE:-offscreen}" = xvfb ] || export QT_QPA_PLATFORM=offscreen

# Milliseconds from launch to exit of one start (the program ends itself after its first paint). A start
# that fails ends the script with the program's messages.
one() {
    local t0 t1 rc=0
    t0=$(date +%s%N)
    "$@" --startup-check >/dev/null 2>"$data.err" || rc=$?
    t1=$(date +%s%N)
    if [ "$rc" != 0 ]; then
        echo "startup.sh: $1 --startup-check ended with status $rc:" >&2
        cat "$data.err" >&2
        exit 1
    fi
    echo $(((t1 - t0) / 1000000))
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

one "$build/bin/ombrisa" >/dev/null # warm the file cache for both
one "$build/bin/bare_window" >/dev/null
program=() bare=()
for ((i = 0; i < starts; i++)); do
    program+=("$(one "$build/bin/ombrisa")")
    bare+=("$(one "$build/bin/bare_window")")
done
mp=$(printf '%s\n' "${program[@]}" | median)
mb=$(printf '%s\n' "${bare[@]}" | median)
echo "bare window: median ${mb} ms of ${starts} starts (${bare[*]})"
echo "ombrisa:     median ${mp} ms of ${starts} starts (${program[*]})"
awk -v p="$mp" -v b="$mb" 'BEGIN {printf "ratio: %.2f\n", p / b}'
