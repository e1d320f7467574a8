#!/usr/bin/env bash
# Drawing speed of the image views on the offscreen platform: a 16 MiB image of 100 000 areas,
# one page of the dump view drawn again and again, then Page Down from the first line to the
# last with every page drawn, and the list view's first and last page. Goal: under 5 ms a page.
#   bench/image_views.sh [build directory, default build/default] [width height]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
shift || true
cmake --build "$build" --target image_views_bench >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/image_views_bench" "$@"
