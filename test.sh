#!/usr/bin/env bash
# Installs what is missing, builds everything (the program, the tests, the fuzz replays and the
# benchmarks), and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

# VXI-11 tests register the simulator with the portmapper.
if command -v rpcbind >/dev/null 2>&1 && ! rpcinfo -p >/dev/null 2>&1; then
  rpcbind -w || rpcbind || true
fi

export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
