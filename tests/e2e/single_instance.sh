#!/usr/bin/env bash
# A second start signals the running instance and ends without a window of its own;
# the first comes back from the notification area.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
e2e_start_display

"$program" -MIN &
first=$!
E2E_PIDS+=($first)
# Started minimized: it lives in the notification area only, no visible window.
e2e_wait 15 "test -S '$XDG_RUNTIME_DIR/ZptBuffer'"
for _ in $(seq 20); do
  [ -z "$(e2e_visible_window)" ] || { echo "window visible despite -MIN" >&2; exit 1; }
  sleep 0.1
done

timeout 20 "$program" /other-argument
echo "second instance ended with $?"
kill -0 "$first" || { echo "first instance died" >&2; exit 1; }
e2e_wait 10 '[ -n "$(e2e_visible_window)" ]'
[ "$(xdotool search --name '^Dorvane' | wc -l)" -ge 1 ]
echo "single instance: 1 passed, 0 failed"
