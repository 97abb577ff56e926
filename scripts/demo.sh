#!/usr/bin/env bash
# Sets up, builds and starts the demo from demo/. Its optimised build has a
# folder of its own, so that it and scripts/test.sh never rebuild each other.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/logged.sh
# Without either, SDL 1.2 falls back to a text-terminal driver that writes
# escape codes over the terminal and cannot show the demo.
if [ -z "${DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  echo "No display found: set DISPLAY (an X server) or SDL_VIDEODRIVER (an SDL video driver) to pick one." >&2
  exit 1
fi
# SDL 1.2 tries its drivers in turn: with an X server that does not answer it
# would go on to the text-terminal driver. Asked for X11 alone, it fails, and
# the program reports that in one line and ends with 1.
if [ -n "${DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  export SDL_VIDEODRIVER=x11
fi
# Only the program: a user need not wait for the tests to compile. The
# build's output is shown only when it fails, so that what the program
# reports stands alone.
[ -x build-demo/zilbrovdemo ] || echo "Building the demo in build-demo/ (a few minutes the first time)" >&2
log=$(mktemp)
if ! logged "$log" scripts/setup.sh build-demo -DCMAKE_BUILD_TYPE=Release -DZIL_BENCH=OFF -- zilbrovdemo; then
  rm -f "$log"
  echo "The demo could not be built." >&2
  exit 1
fi
rm -f "$log"
cd demo
exec ../build-demo/zilbrovdemo
