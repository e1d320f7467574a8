#!/usr/bin/env bash
# Sets up, builds and runs every test: the format check, the release build, then the ASan/UBSan
# build.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in default asan; do
  scripts/setup.sh "$preset"
  [ "$preset" = default ] && scripts/check_format.sh
  echo "== tests ($preset) =="
  ctest --preset "$preset" -j2
done
