#!/usr/bin/env bash
# ThreadSanitizer over the tests where threads meet: the link (frames, engine, serial link), the
# App against vantrel-sim (link, operations, firmware, line faults, long runs), the operation
# steps, and the window's logic and Qt frame. Builds the "tsan" preset, then runs each test
# program; any report fails the run (halt_on_error). Suppressions (scripts/tsan.supp) cover
# uninstrumented Qt and system libraries only.
#   scripts/tsan.sh [-jN, default -j2]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${1:--j2}
targets=(link_tests serial_link_tests ops_tests ui_logic_tests ui_tests link_with_sim_tests
         operations_with_sim_tests firmware_with_sim_tests line_faults_with_sim_tests
         long_runs_with_sim_tests)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CCACHE_BASEDIR=$PWD cmake --preset tsan "${launcher[@]}" >/dev/null
cmake --build --preset tsan "$jobs" --target "${targets[@]}" vantrel-sim vantrel-cli \
  sample_device_database
ctest --preset tsan "$jobs" -R "$(
  for t in "${targets[@]}"; do
    exe=$(find build/tsan/tests -name "$t" -type f -perm -u+x | head -1)
    "$exe" --gtest_list_tests | awk '/^[^ ]/ { s = $1 } /^  / { print "^" s $1 "$" }'
  done | paste -sd'|')"
