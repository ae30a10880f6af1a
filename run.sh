#!/usr/bin/env bash
# Installs what is missing, builds the program and the simulator, and starts Zendrik.
#   ./run.sh --demo     the demo: the analyser simulator on 127.0.0.1 and the program in a demo
#                       working folder (build/demo) with the default data unpacked, a shipped
#                       project loaded and the analyser's address preset: Device > SA TCP >
#                       "Connect Visa", then Play
#   ./run.sh            start the program
#   ./run.sh --sim      start the analyser simulator first, so the program has an instrument:
#                       VXI-11 at TCPIP0::127.0.0.1::INSTR (Device > SA TCP, address 127.0.0.1)
#                       and raw SCPI at TCPIP0::127.0.0.1::5025::SOCKET
#   ./run.sh s          small-screen layout (800 x 480); other arguments go to the program
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
# Only what this script runs: the program and the simulator (./test.sh builds the rest).
scripts/build.sh zendrik zendrik-sim

sim=0
demo=0
args=()
for a in "$@"; do
  if [ "$a" = "--sim" ]; then sim=1
  elif [ "$a" = "--demo" ]; then demo=1; sim=1
  else args+=("$a"); fi
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

program=build/main/zendrik
if [ $demo -eq 1 ]; then
  # The program keeps its data beside itself: the demo runs a link of it in its own folder. The
  # folder has had its first run: the default data archive the program carries is unpacked.
  demo_dir=build/demo
  mkdir -p "$demo_dir"
  ln -f "$program" "$demo_dir/zendrik" 2>/dev/null || cp -f "$program" "$demo_dir/zendrik"
  program="$demo_dir/zendrik"
  if [ ! -d "$demo_dir/zips" ]; then
    mkdir -p "$demo_dir/zips" "$demo_dir/src" "$demo_dir/out" "$demo_dir/rep"
    cp build/datafiles/defaultdata/src.zip "$demo_dir/zips/src.zip"
    (cd "$demo_dir/src" && cmake -E tar xf ../zips/src.zip)
    cp build/datafiles/defaultdata/demo.rep "$demo_dir/rep/demo.rep"
  fi
  # The connection window's "SA TCP" offers the simulator's address.
  printf '[IP]\r\nADR=127.0.0.1\r\n' > "$demo_dir/emc_ip.ini"
  args+=(--project conducted_cispr32_b.prj)
fi

"$program" "${args[@]}"
