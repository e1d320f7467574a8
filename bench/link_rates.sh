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
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -r examples/Device "$work/"
printf '[Settings]\r\nDevice="NR16C62A"\r\nComPort=1\r\n' > "$work/vantrel.ini"
op_ms=500
"$build/bin/vantrel-sim" --pace --op-time "$op_ms" --settings "$work/vantrel.ini" --com 1 > "$work/sim.out" 2>/dev/null &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
echo "programmer: vantrel-sim --pace on $(head -1 "$work/sim.out")"
# The device tree of this machine stays out of it: COM1 is the emulator's terminal only.
VANTREL_DEVICE_ROOT="$work/no-device-tree" "$build/bin/link_rates_bench" "$work" "$op_ms"
