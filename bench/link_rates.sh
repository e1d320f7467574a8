#!/usr/bin/env bash
# The serial link's throughput: a 64 KiB download and a 64 KiB read back against vantrel-sim
# pacing its line at the real rate (115200 baud, 11 bits a character), over a pseudo-terminal
# mapped to COM1 in a scratch installation. Goal: at least 95 % of the protocol's limits
# (download 9934 B/s, read back 8537 B/s). Then a 64 KiB program and verify (goal: within 5 %
# of the download at the limit plus the emulator's three operations: fill, CRC, program and
# verify) and the same run again with the image unchanged (goal: within 0.5 s of the
# operation alone, nothing downloaded).
#   bench/link_rates.sh [build directory, default build/default]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" --target link_rates_bench vantrel-sim >/dev/null
source bench/sim_scratch.sh
printf '[Settings]\r\nDevice="NR16C62A"\r\nComPort=1\r\n' > "$work/vantrel.ini"
op_ms=500
start_sim "$build" --pace --op-time "$op_ms"
echo "programmer: vantrel-sim --pace on $(head -1 "$work/sim.out")"
"$build/bin/link_rates_bench" "$work" "$op_ms"
