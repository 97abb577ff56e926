#!/usr/bin/env bash
# Sets up, builds and starts the demo from demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build -DCMAKE_BUILD_TYPE=Release
if [ ! -f demo/ui.uixml ]; then
  echo "demo/ui.uixml is not there yet: the demo cannot start."
  exit 0
fi
cd demo
exec ../build/zilbrovdemo
