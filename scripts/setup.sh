#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those that are missing),
# then configures and builds into the folder given as $1 with the CMake
# options that follow. Names after a "--" build only those targets:
#   scripts/setup.sh build-demo -DCMAKE_BUILD_TYPE=Release -- zilbrovdemo
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ pkg-config libsdl1.2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libfreetype-dev fonts-dejavu-core valgrind)
scripts/install-packages.sh "${packages[@]}"

build=${1:-build}
shift || true
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  options+=("$1")
  shift
done
shift || true  # the "--", if any; what is left names the targets
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
