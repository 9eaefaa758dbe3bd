#!/usr/bin/env bash
# Builds the program and starts it. Its data lives beside the executable, in build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build -G Ninja -DOMBRISA_TESTS=OFF -DOMBRISA_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)" --target ombrisa
exec build/bin/ombrisa "$@"
