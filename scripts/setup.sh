#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12 packages) when it is missing, then
# configures and builds the given CMake preset (default: "default").
#   scripts/setup.sh [preset]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libcli11-dev nlohmann-json3-dev srecord binutils iproute2 util-linux procps clang-format
          xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "setup: installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "setup: missing packages; run as root:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
