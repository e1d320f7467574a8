#!/usr/bin/env bash
# A 64 KiB program and verify by vantrel-cli over a faulty line: vantrel-sim loses, changes or
# doubles 1 %, 3 % and 10 % of the bytes, once on both directions and once on its own answers
# only, and in a last row the programmer goes deaf for 2 s in the middle of the download. Every
# run gets a fresh emulator (seeded by the run number) and must either succeed with the program
# in the emulator's target, or end with an error exit code. Printed per row: runs that succeeded,
# that failed with an error, "wrong" successes (exit 0 but other bytes in the target; must be 0)
# and the mean time of a run. Exit status 1 when there was a wrong success.
#   bench/line_faults.sh [runs per row, default 20] [build directory, default build/default]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
build=${2:-build/default}
cmake --build "$build" --target vantrel-cli vantrel-sim >/dev/null
source bench/sim_scratch.sh
cp "$build/bin/vantrel-cli" "$work/"
make_program
objcopy -I srec -O binary "$work/program.mot" "$work/program.bin"

# One run: the emulator with the options given, then the program and verify. Prints
# "ok", "error" or "wrong" and the milliseconds the run took.
one_run() {
  printf '[Settings]\r\nDevice="NR16C62A"\r\nComPort=1\r\n' > "$work/vantrel.ini"
  rm -f "$work/target.mot" "$work/target.bin" "$work/sim.out"
  start_sim "$build" "$@" --dump-target "$work/target.mot"
  local start end rc=0
  start=$(date +%s%N)
  (cd "$work" && timeout 300 ./vantrel-cli -clearDE program.mot -programverify >/dev/null 2>&1) || rc=$?
  end=$(date +%s%N)
  stop_sim
  local verdict=error
  if [ "$rc" = 0 ]; then
    verdict=wrong
    if [ -s "$work/target.mot" ]; then
      objcopy -I srec -O binary "$work/target.mot" "$work/target.bin"
      cmp -s -n 65536 "$work/program.bin" "$work/target.bin" && verdict=ok
    fi
  fi
  echo "$verdict $(((end - start) / 1000000))"
}

wrong_total=0
row() { # label, emulator options
  local label=$1 ok=0 error=0 wrong=0 ms=0 verdict t
  shift
  for i in $(seq "$runs"); do
    read -r verdict t < <(one_run --seed "$i" "$@")
    ms=$((ms + t))
    case $verdict in
    ok) ok=$((ok + 1)) ;;
    error) error=$((error + 1)) ;;
    *) wrong=$((wrong + 1)) ;;
    esac
  done
  wrong_total=$((wrong_total + wrong))
  printf '%-26s %5d %5d %5d %8.1f\n' "$label" "$ok" "$error" "$wrong" \
    "$(echo "scale=1; $ms / $runs / 1000" | bc)"
}

echo "64 KiB program and verify, $runs runs a row"
printf '%-26s %5s %5s %5s %8s\n' "line fault" ok error wrong "s/run"
row "none"
for kind in drop corrupt duplicate; do
  for rate in 1 3 10; do
    p=$(echo "scale=2; $rate / 100" | bc)
    row "$kind $rate % both ways" "--$kind" "$p"
    row "$kind $rate % answers" "--reply-$kind" "$p"
  done
done
# The download has 274 write frames: the programmer goes deaf at the 137th for 2 s.
row "2 s silence in download" --silence-after 137 --silence-ms 2000
[ "$wrong_total" = 0 ]
