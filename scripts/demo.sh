#!/usr/bin/env bash
# Sets up and builds, then programs a chip as a user would, without hardware: vantrel-sim plays
# the programmer on a pseudo-terminal, mapped as COM1 in a scratch installation (the program and
# the sample device database in Device/), and vantrel-cli selects a sample device, loads a sample
# Intel HEX program, programs and verifies it and ends. It shows the exit code, what the
# emulated target holds afterwards, and then a second run that reads the chip back into a file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
install=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$install"
}
trap cleanup EXIT
cp build/default/bin/vantrel-cli "$install/"
cp -r build/default/bin/Device "$install/"
cp examples/programs/blink.hex "$install/"
cd "$install"

# The programmer: its terminal becomes COM1 of this installation's settings file.
"$OLDPWD/build/default/bin/vantrel-sim" --settings vantrel.ini --com 1 > sim.out 2> sim.err &
sim_pid=$!
for _ in $(seq 100); do [ -s sim.out ] && break; sleep 0.05; done
echo "== vantrel-sim: the programmer on $(head -1 sim.out), COM1 in vantrel.ini =="

device=NR8C27 # banks 8000-BFFF and C000-FFFF: blink.hex (8000-8063, reset vector FFFE) fits
echo "== vantrel-cli -seldevice$device -openfileblink.hex -programverify -exit =="
set +e
./vantrel-cli "-seldevice$device" -openfileblink.hex -programverify -exit
code=$?
set -e
echo "exit code: $code"
if [ -f Vantrel.err ]; then echo "== Vantrel.err =="; tr -d '\r' < Vantrel.err; fi
[ "$code" -eq 0 ] || { echo "demo: programming failed" >&2; exit 1; }

echo "== next run: vantrel-cli -readback -saveasread.mot -exit (the device is in the settings) =="
set +e
./vantrel-cli -readback -saveasread.mot -exit
code=$?
set -e
echo "exit code: $code"
[ "$code" -eq 0 ] || { echo "demo: reading back failed" >&2; exit 1; }
echo "== read.mot, first lines of $(wc -l < read.mot): the bytes of blink.hex, 0xFF elsewhere =="
head -n 4 read.mot | tr -d '\r'

kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; sim_pid=
echo "== the emulator: $(cat sim.err) =="
