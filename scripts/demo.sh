#!/usr/bin/env bash
# Sets up, builds and starts the demo from demo/. Its optimised build has a
# folder of its own, so that it and scripts/test.sh never rebuild each other.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build-demo -DCMAKE_BUILD_TYPE=Release -DZIL_BENCH=OFF
if [ ! -f demo/ui.uixml ]; then
  echo "demo/ui.uixml is not there yet: the demo cannot start."
  exit 0
fi
cd demo
exec ../build-demo/zilbrovdemo
