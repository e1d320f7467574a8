#!/usr/bin/env bash
# Sets up, builds and runs a sample batch with vantrel-cli in a scratch installation,
# then shows its exit code and the error file it left.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/default/bin/vantrel-cli "$work/"
cd "$work"
echo "== vantrel-cli -setDE -checkblank -exit (no programmer attached) =="
set +e
./vantrel-cli -setDE -checkblank -exit
code=$?
set -e
echo "exit code: $code"
if [ -f Vantrel.err ]; then echo "== Vantrel.err =="; tr -d '\r' < Vantrel.err; fi
