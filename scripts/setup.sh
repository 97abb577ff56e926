#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing),
# then configures and builds into the folder given as $1 with the CMake
# options that follow.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ pkg-config libsdl1.2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libfreetype-dev fonts-dejavu-core valgrind)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    # Without root, only a sudo that needs no password can install here.
    if ! command -v sudo >/dev/null 2>&1 || ! sudo -n true 2>/dev/null; then
      echo "Missing packages: ${missing[*]}" >&2
      echo "Install them as root (or with sudo), then run this again:" >&2
      echo "  apt-get update && apt-get install ${missing[*]}" >&2
      exit 1
    fi
    SUDO=sudo
  fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
