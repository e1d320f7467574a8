#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build, then the ASan/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in default asan; do
  scripts/setup.sh "$preset"
  echo "== tests ($preset) =="
  ctest --preset "$preset" -j2
done
