#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zendrik.
#   ./run.sh            start the program
#   ./run.sh --sim      start the analyser simulator on 127.0.0.1:5025 first, so the program has
#                       an instrument to find (resource TCPIP0::127.0.0.1::5025::SOCKET)
#   ./run.sh s          small-screen layout (800 x 480); other arguments go to the program
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

sim=0
args=()
for a in "$@"; do
  if [ "$a" = "--sim" ]; then sim=1; else args+=("$a"); fi
done

if [ $sim -eq 1 ] && [ -x build/tools/sim/zendrik-sim ]; then
  build/tools/sim/zendrik-sim --tcp 5025 &
  sim_pid=$!
  trap 'kill $sim_pid 2>/dev/null || true' EXIT
fi

build/main/zendrik "${args[@]}"
