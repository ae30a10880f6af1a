#!/usr/bin/env bash
# Configures (once) and builds the default preset: the named targets, or everything (the tests,
# fuzz replays and benchmarks included) when none is named.
#   scripts/build.sh                   everything
#   scripts/build.sh zendrik zendrik-sim
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j "$(nproc)" "${targets[@]}"
