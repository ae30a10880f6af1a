#!/usr/bin/env bash
# Configures and builds the default preset: the named targets, or everything (the tests,
# fuzz replays and benchmarks included) when none is named.
#   scripts/build.sh                   everything
#   scripts/build.sh zendrik zendrik-sim
set -euo pipefail
cd "$(dirname "$0")/.."
# Configured on every run, so that a build folder made before a change of the preset (warnings
# as errors, for one) takes it up; an unchanged one costs a few seconds.
cmake --preset default --log-level=WARNING
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j "$(nproc)" "${targets[@]}"
