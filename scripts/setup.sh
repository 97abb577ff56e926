#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing),
# then configures and builds into the folder given as $1 with the CMake
# options that follow.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ pkg-config libsdl1.2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libfreetype-dev fonts-dejavu-core valgrind)
scripts/install-packages.sh "${packages[@]}"

build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
