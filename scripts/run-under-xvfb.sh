#!/usr/bin/env bash
# Runs a program on a virtual X display with a window manager (openbox) and a
# notification area (trayer), as on a desktop, for machines without one.
#
#   scripts/run-under-xvfb.sh [--display :N] [--shot FILE [--wait SECONDS]] PROGRAM [ARGS...]
#
# With --shot the screen is saved to FILE after SECONDS (default 3) and everything is
# stopped; without it the script waits until the program ends.
set -euo pipefail

display=":97"
shot=""
wait_seconds=3
while [ $# -gt 0 ]; do
  case "$1" in
    --display) display="$2"; shift 2 ;;
    --shot) shot="$2"; shift 2 ;;
    --wait) wait_seconds="$2"; shift 2 ;;
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
trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
pids+=($!)
unset QT_QPA_PLATFORM

if [ -n "$shot" ]; then
  "$@" &
  pids+=($!)
  sleep "$wait_seconds"
  import -window root "$shot"
  echo "screenshot: $shot"
else
  "$@"
fi
