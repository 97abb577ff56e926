#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing),
# then configures and builds into the folder given as $1 with the CMake
# options that follow.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ pkg-config libsdl1.2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libfreetype-dev fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
