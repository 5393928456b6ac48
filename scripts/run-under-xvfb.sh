#!/usr/bin/env bash
# Runs a program on a virtual X display with a window manager (openbox) and a
# notification area (trayer), as on a desktop, for machines without one.
#
#   scripts/run-under-xvfb.sh [--display :N] [--shot FILE [--wait SECONDS] [--window TITLE]] PROGRAM [ARGS...]
#
# With --shot the screen (or, with --window, the first visible window whose title starts
# with TITLE) is saved to FILE after SECONDS (default 3) and everything is stopped;
# without it the script waits until the program ends.
set -euo pipefail

display=":97"
shot=""
wait_seconds=3
window=""
while [ $# -gt 0 ]; do
  case "$1" in
    --display) display="$2"; shift 2 ;;
    --shot) shot="$2"; shift 2 ;;
    --wait) wait_seconds="$2"; shift 2 ;;
    --window) window="$2"; shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: $0 [--display :N] [--shot FILE [--wait S]] PROGRAM [ARGS...]" >&2; exit 2; }

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $display" >&2; exit 1; }

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
pids+=($!)
unset QT_QPA_PLATFORM

if [ -n "$shot" ]; then
  "$@" &
  pids+=($!)
  sleep "$wait_seconds"
  target=root
  if [ -n "$window" ]; then
    target=$(xdotool search --onlyvisible --name "^$window" | head -n1)
    [ -n "$target" ] || { echo "no visible window titled $window" >&2; exit 1; }
    import -window root -crop "$(xwininfo -id "$target" -frame | awk '/Width:/{w=$2} /Height:/{h=$2} /Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print w"x"h"+"x"+"y}')" +repage "$shot"
  else
    import -window root "$shot"
  fi
  echo "screenshot: $shot"
else
  "$@"
fi
