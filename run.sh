#!/usr/bin/env bash
# Installs what is missing, builds the program and the simulator, and starts Zendrik.
#   ./run.sh --demo     the demo: the analyser simulator on 127.0.0.1 and the program in a demo
#                       working folder (build/demo) with the default data unpacked, a shipped
#                       project loaded and the analyser's address preset: Device > SA TCP >
#                       "Connect Visa", then Play
#   ./run.sh            start the program in its working folder, prepared with the default data
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

# The program keeps its data in its working folder: its own folder when it may write there, else
# ~/.local/share/zendrik. Its first start in a folder unpacks the default data it carries, asks
# for a restart and ends; the folder is prepared here the same way instead, so that the first
# start from this script is a whole one.
prepare_working_folder() {
  local dir=$1
  if [ ! -d "$dir/zips" ]; then
    # As the program does: a "src" of earlier files is kept aside under a dated name.
    if [ -e "$dir/src" ]; then mv "$dir/src" "$dir/src_backup_$(date +%d%m%Y_%H%M%S)"; fi
    mkdir -p "$dir/zips" "$dir/src" "$dir/out" "$dir/rep"
    cp build/datafiles/defaultdata/src.zip "$dir/zips/src.zip"
    (cd "$dir/src" && cmake -E tar xf ../zips/src.zip)
    cp build/datafiles/defaultdata/demo.rep "$dir/rep/demo.rep"
  fi
}

program=build/main/zendrik
if [ $demo -eq 1 ]; then
  # The demo runs a link of the program in its own folder.
  demo_dir=build/demo
  mkdir -p "$demo_dir"
  ln -f "$program" "$demo_dir/zendrik" 2>/dev/null || cp -f "$program" "$demo_dir/zendrik"
  program="$demo_dir/zendrik"
  prepare_working_folder "$demo_dir"
  # The connection window's "SA TCP" offers the simulator's address.
  printf '[IP]\r\nADR=127.0.0.1\r\n' > "$demo_dir/emc_ip.ini"
  args+=(--project conducted_cispr32_b.prj)
elif [ -w "$(dirname "$program")" ]; then
  prepare_working_folder "$(dirname "$program")"
else
  prepare_working_folder "$HOME/.local/share/zendrik"
fi

"$program" "${args[@]}"
