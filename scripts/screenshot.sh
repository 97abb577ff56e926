#!/usr/bin/env bash
# Takes docs/screenshot.png: starts a private Xvfb, runs the demo on it from
# demo/, drags the zoom, corner and yellow edge sharpness bars, saves the window,
# ends the demo with SIGTERM (a quit for SDL: status 0) and stops the Xvfb.
# Installs the Debian packages it needs (xvfb, xdotool, x11-apps, netpbm)
# when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh xvfb xdotool x11-apps netpbm
scripts/setup.sh build-demo -DCMAKE_BUILD_TYPE=Release -DZIL_BENCH=OFF -- zilbrovdemo
mkdir -p docs

tmp=$(mktemp -d)
xvfb_pid=""
demo_pid=""
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
unset SDL_VIDEODRIVER

(cd demo && exec ../build-demo/zilbrovdemo) &
demo_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Subdivision surface demo" | head -n 1)
sleep 1

# Drags along a bar of the demo page from (x, y) by dx pixels, in window
# coordinates (the bars' places in demo/ui.uixml).
drag() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  for step in 1 2 3 4; do
    xdotool mousemove --window "$window" $(($1 + $3 * step / 4)) "$2"
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
}
drag 426 100 100  # zoom in
drag 426 152 46   # corner sharpness to 1
drag 426 204 92   # yellow edge sharpness to 2

# SDL draws through a DirectColor visual whose colour map xwd would apply
# to the window; the root window shows the pixels as they are.
eval "$(xdotool getwindowgeometry --shell "$window")"
xwd -silent -root | xwdtopnm 2>/dev/null | pamcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT" |
  pnmtopng > docs/screenshot.png

kill -TERM "$demo_pid"
status=0
wait "$demo_pid" || status=$?
demo_pid=""
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
echo "Saved docs/screenshot.png; the demo ended with status $status."
exit "$status"
