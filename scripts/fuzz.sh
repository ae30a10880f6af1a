#!/usr/bin/env bash
# Runs every fuzz target (or those named) for the given seconds each, default 60, with libFuzzer
# and the address and undefined-behaviour sanitizers (the "fuzz" preset, clang).
#   scripts/fuzz.sh [seconds] [target ...]      e.g.  scripts/fuzz.sh 600 ini table_file
# FUZZ_JOBS=n runs n targets at once (default 1; the machine is shared, keep it small).
# A finding (crash, leak, time-out, memory blow-up) is written to fuzz/corpus/<target>/, where
# every ctest run replays it from then on; inputs that reach new code are merged into the same
# folder. Commit them with the fix of the reader.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=60
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
jobs=${FUZZ_JOBS:-1}

if [ ! -f build-fuzz/build.ninja ]; then
  cmake --preset fuzz
fi
cmake --build --preset fuzz -j 3

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in build-fuzz/fuzz/fuzz_*; do
    [ -x "$exe" ] && [ ! -d "$exe" ] && targets+=("${exe#build-fuzz/fuzz/fuzz_}")
  done
fi

export QT_QPA_PLATFORM=offscreen
# Leaks are findings too; the abort of a broken property is reported as a crash.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local name=$1
  local exe=$root/build-fuzz/fuzz/fuzz_$name
  local corpus=$root/fuzz/corpus/$name
  local work=$root/build-fuzz/fuzz-work/$name
  local log=$root/build-fuzz/fuzz-work/$name.log
  mkdir -p "$corpus" "$work"
  # libFuzzer takes folders only: seed files are copied into one of their own.
  local seeds=()
  local seedfiles=$root/build-fuzz/fuzz-work/$name-seeds
  rm -rf "$seedfiles"
  mkdir -p "$seedfiles"
  if [ -f "$root/build-fuzz/fuzz/fuzz_$name.seeds" ]; then
    while IFS= read -r line; do
      if [ -d "$line" ]; then
        seeds+=("$line")
      elif [ -f "$line" ]; then
        cp "$line" "$seedfiles/"
      fi
    done <"$root/build-fuzz/fuzz/fuzz_$name.seeds"
  fi
  seeds+=("$seedfiles")
  local dict=()
  [ -f "$root/fuzz/dict/$name.dict" ] && dict=(-dict="$root/fuzz/dict/$name.dict")
  local before
  before=$(ls "$corpus" | grep -cE '^(crash|leak|timeout|oom|slow-unit)-' || true)
  # The files the readers must find on disk go to a folder of this run (on tmpfs when there is
  # one), removed at the end: the processes of crashing inputs cannot clean up after themselves.
  local scratch
  scratch=$(mktemp -d "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/zendrik-fuzz-$name.XXXXXX")
  export ZENDRIK_FUZZ_SCRATCH=$scratch
  # Fork mode goes on after a finding, so that one run reports all it finds.
  (cd "$work" && "$exe" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
      -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
      -artifact_prefix="$corpus/" "${dict[@]}" "$work" "$corpus" "${seeds[@]}") >"$log" 2>&1 || true
  # Keep what reaches new code, in the committed corpus, without duplicates.
  "$exe" -merge=1 -rss_limit_mb=2560 -timeout=20 "$corpus" "$work" >>"$log" 2>&1 || true
  rm -rf "$scratch"
  local after
  after=$(ls "$corpus" | grep -cE '^(crash|leak|timeout|oom|slow-unit)-' || true)
  local stats
  stats=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)
  echo "$name: ${seconds}s, ${stats:-no coverage line}, findings $((after - before)) new, $after kept (log $log)"
}

running=0
for name in "${targets[@]}"; do
  if [ ! -x "build-fuzz/fuzz/fuzz_$name" ]; then
    echo "no fuzz target $name" >&2
    exit 2
  fi
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait
