#!/usr/bin/env bash
# Sets up and builds, then runs vantrel-cli as a user would from a scratch installation (the
# program and the sample device database in Device/): it selects a sample device, loads a
# sample Intel HEX program and saves it converted to Motorola S-records. It shows the exit
# code, the start of the written file and the settings file the run left behind, then a second
# start that finds the device in those settings and converts back to Intel HEX. No programmer
# is attached, so no target operation is started.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
install=$(mktemp -d)
trap 'rm -rf "$install"' EXIT
cp build/default/bin/vantrel-cli "$install/"
cp -r build/default/bin/Device "$install/"
cp examples/programs/blink.hex "$install/"
cd "$install"

device=NR8C27 # banks 8000-BFFF and C000-FFFF: blink.hex (8000-8063, reset vector FFFE) fits
echo "== vantrel-cli -seldevice$device -openfileblink.hex -saveasblink.mot -exit =="
set +e
./vantrel-cli "-seldevice$device" -openfileblink.hex -saveasblink.mot -exit
code=$?
set -e
echo "exit code: $code"
if [ -f blink.mot ]; then
  echo "== blink.mot (first lines of $(wc -l < blink.mot)) =="
  head -n 5 blink.mot | tr -d '\r'
fi
if [ -f Vantrel.err ]; then echo "== Vantrel.err =="; tr -d '\r' < Vantrel.err; fi
echo "== vantrel.ini (the settings the run saved; the device is kept for the next start) =="
grep -E '^(\[Settings\]|Device|SBank|EBank|FillByte|Interface|Speed|ComPort)' vantrel.ini | tr -d '\r'
echo "(... $(wc -l < vantrel.ini) lines in all)"
[ "$code" -eq 0 ] || { echo "demo: vantrel-cli failed" >&2; exit 1; }

echo "== next start, no -seldevice: vantrel-cli -openfileblink.mot -saveasblink2.hex -exit =="
set +e
./vantrel-cli -openfileblink.mot -saveasblink2.hex -exit
code=$?
set -e
echo "exit code: $code"
[ -f blink2.hex ] && { echo "== blink2.hex =="; tr -d '\r' < blink2.hex; }
[ "$code" -eq 0 ] || { echo "demo: vantrel-cli failed" >&2; exit 1; }
