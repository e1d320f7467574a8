#!/usr/bin/env bash
# Checks that every C++ file of the repository is formatted as .clang-format says.
#   scripts/check_format.sh        (clang-format -i on the files it names fixes them)
set -euo pipefail
cd "$(dirname "$0")/.."
find src tests tools bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror
echo "format: every file as .clang-format says"
