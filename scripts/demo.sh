#!/usr/bin/env bash
# Sets up, builds and starts the demo from demo/. Its optimised build has a
# folder of its own, so that it and scripts/test.sh never rebuild each other.
set -euo pipefail
cd "$(dirname "$0")/.."
# Without either, SDL 1.2 falls back to a text-terminal driver that writes
# escape codes over the terminal and cannot show the demo.
if [ -z "${DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  echo "No display found: set DISPLAY (an X server) or SDL_VIDEODRIVER (an SDL video driver) to pick one." >&2
  exit 1
fi
# Only the program: a user need not wait for the tests to compile.
scripts/setup.sh build-demo -DCMAKE_BUILD_TYPE=Release -DZIL_BENCH=OFF -- zilbrovdemo
cd demo
exec ../build-demo/zilbrovdemo
