#!/usr/bin/env bash
# The system hot key (Shift+F5) hides the active window to the notification area and
# brings it back, pressed on the desktop with xdotool.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
e2e_start_display

"$program" &
E2E_PIDS+=($!)
e2e_wait 20 '[ -n "$(e2e_visible_window)" ]'
# The hot key hides only the active window.
e2e_wait 15 e2e_activate_window

xdotool key shift+F5
e2e_wait 10 '[ -z "$(e2e_visible_window)" ]'
echo "hidden by the hot key"

xdotool key shift+F5
e2e_wait 10 '[ -n "$(e2e_visible_window)" ]'
echo "restored by the hot key"
echo "system hot key: 1 passed, 0 failed"
