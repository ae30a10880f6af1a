#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zendrik.
#   ./run.sh            start the program
#   ./run.sh --sim      start the analyser simulator first, so the program has an instrument:
#                       VXI-11 at TCPIP0::127.0.0.1::INSTR (Device > SA TCP, address 127.0.0.1)
#                       and raw SCPI at TCPIP0::127.0.0.1::5025::SOCKET
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
  # VXI-11 needs the portmapper.
  if ! rpcinfo -p >/dev/null 2>&1; then
    rpcbind -w 2>/dev/null || rpcbind 2>/dev/null || true
  fi
  build/tools/sim/zendrik-sim --tcp 5025 --vxi11 --time-scale 0.1 &
  sim_pid=$!
  trap 'kill $sim_pid 2>/dev/null || true' EXIT
fi

build/main/zendrik "${args[@]}"
