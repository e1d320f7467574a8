#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for a bounded time,
# starting from its corpus in tests/fuzz/corpus/<name>/.
#   bench/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
  name=${fuzzer##*/fuzz_}
  work=$(mktemp -d)
  cp tests/fuzz/corpus/"$name"/* "$work"/ 2>/dev/null || true
  echo "== $name: ${seconds}s =="
  (cd "$work" && ASAN_OPTIONS=detect_leaks=0 "$OLDPWD/$fuzzer" -max_total_time="$seconds" \
      -max_len=4096 "$work" 2>&1 | tail -n 3)
  rm -rf "$work"
done
