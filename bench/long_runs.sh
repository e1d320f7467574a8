#!/usr/bin/env bash
# Long runs against vantrel-sim: 64 KiB program and verify again and again,
#  1. in one process as the window runs it (the long-runs test with VANTREL_LONG_RUNS runs):
#     resident memory and open descriptors after the first and the last run, the protocol log;
#  2. as a loop of vantrel-cli runs on one emulator: each run's peak resident memory, the
#     emulator's resident memory and descriptors, the protocol log's size, and the settings file
#     checked whole after every run.
# Goal: memory and descriptors flat, the log bounded, every run a success.
#   bench/long_runs.sh [runs, default 200] [build directory, default build/default]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-200}
build=${2:-build/default}
cmake --build "$build" --target long_runs_with_sim_tests vantrel-cli vantrel-sim >/dev/null
source bench/sim_scratch.sh

echo "== in one process, $runs runs =="
test_bin=$(find "$build/tests" -name long_runs_with_sim_tests -type f | head -1)
VANTREL_LONG_RUNS=$runs VANTREL_BIN_DIR="$PWD/$build/bin" \
  "$test_bin" --gtest_filter='LongRunsWithSim.*' | grep -E 'runs:|OK|FAILED'

echo "== vantrel-cli, $runs runs on one emulator =="
cp "$build/bin/vantrel-cli" "$work/"
make_program
printf '[Settings]\r\nDevice="NR16C62A"\r\nComPort=1\r\nLOG_Enable=1\r\n' > "$work/vantrel.ini"
start_sim "$build" --op-time 20
sim_figures() {
  echo "$(awk '/VmRSS/ { print $2 }' "/proc/$sim_pid/status") kB," \
    "$(ls "/proc/$sim_pid/fd" | wc -l) descriptors"
}
# Whole: the device, the port and its map are there, and the last line is ended.
settings_whole() {
  local ini=$work/vantrel.ini
  grep -q '^Device *= *"NR16C62A"' "$ini" && grep -q '^ComPort *= *1' "$ini" &&
    grep -q '^COM1 *= *"/dev/' "$ini" && [ "$(tail -c 2 "$ini" | od -An -tx1)" = " 0d 0a" ]
}
failed=0 broken=0 peak_first=0 peak_max=0 log_max=0 sim_first=
start=$(date +%s)
for i in $(seq "$runs"); do
  rc=0
  (cd "$work" && /usr/bin/time -f %M -o "$work/peak" ./vantrel-cli -clearDE program.mot \
    -programverify >/dev/null 2>&1) || rc=$?
  [ "$rc" = 0 ] || failed=$((failed + 1))
  settings_whole || broken=$((broken + 1))
  peak=$(tail -1 "$work/peak")
  [ "$i" = 1 ] && peak_first=$peak && sim_first=$(sim_figures)
  [ "$peak" -gt "$peak_max" ] && peak_max=$peak
  log=$(stat -c %s "$work/Vantrel.LOG")
  [ "$log" -gt "$log_max" ] && log_max=$log
done
echo "runs failed: $failed, settings file broken after a run: $broken," \
  "$(((($(date +%s) - start) * 1000 / runs))) ms a run"
echo "vantrel-cli peak resident memory: first run $peak_first kB, highest $peak_max kB"
echo "vantrel-sim after the first run: $sim_first; after the last: $(sim_figures)"
echo "Vantrel.LOG of one run: at most $log_max bytes"
[ "$failed" = 0 ] && [ "$broken" = 0 ]
