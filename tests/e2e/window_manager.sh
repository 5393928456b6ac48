#!/usr/bin/env bash
# The main window under a real window manager: the close question offers no close box
# and ignores close requests and Escape, and hiding to the notification area and
# restoring leaves the window exactly where it was.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
e2e_start_display

"$program" &
E2E_PIDS+=($!)
e2e_wait 20 '[ -n "$(e2e_visible_window)" ]'
# The hot key hides only a window the program itself knows to be active, which it
# learns a moment after the window manager says so: a key that comes earlier restores
# the window it finds shown, and the key is pressed again.
hide() {
  local try
  for try in 1 2 3; do
    xdotool key shift+F5
    e2e_wait 3 '[ -z "$(e2e_visible_window)" ]' 2>/dev/null && return 0
  done
  echo "the hot key did not hide the window (active window $(xdotool getactivewindow 2>&1))" >&2
  return 1
}
# The window's top-left corner as the window manager reports it.
position() { wmctrl -lG | awk -v id="$(printf '0x%08x' "$(e2e_visible_window)")" '$1 == id { print $3, $4 }'; }
e2e_wait 15 e2e_activate_window

start=$(position)
echo "main window frame at $start"
[ -n "$start" ] || { echo "no position for the main window" >&2; exit 1; }
for round in 1 2 3; do
  hide || { echo "round $round" >&2; exit 1; }
  xdotool key shift+F5
  e2e_wait 10 '[ -n "$(e2e_visible_window)" ]'
  e2e_wait 5 '[ "$(position)" = "$start" ]' || { echo "round $round: moved from $start to $(position)" >&2; exit 1; }
  e2e_wait 15 e2e_activate_window
done
echo "restored in place three times at $start"

wmctrl -c "Dorvane"
e2e_wait 10 'xdotool search --onlyvisible --name "^Close confirmation" >/dev/null 2>&1'
dialog=$(xdotool search --onlyvisible --name "^Close confirmation" | head -n1)
# Openbox keeps a close box on every title bar, whatever the window asks for, so the
# question has a border and no title bar: the frame is as thick on top as below.
e2e_wait 5 'xprop -id "$dialog" _NET_FRAME_EXTENTS | grep -q "="'
extents=$(xprop -id "$dialog" _NET_FRAME_EXTENTS | sed 's/.*= //')
IFS=', ' read -r left right top bottom <<< "$extents"
if [ "$top" != "$bottom" ]; then
  echo "the close question has a title bar (frame $extents): $(xprop -id "$dialog" _MOTIF_WM_HINTS)" >&2
  exit 1
fi
echo "no title bar, so no close box, on the close question"

# A close request and Escape leave the question open, and the program running.
wmctrl -c "Close confirmation"
xdotool windowactivate --sync "$dialog" key Escape 2>/dev/null || xdotool key Escape
# Return answers with the default button, "No! Always minimize in the future": the
# question goes and the main window with it, into the notification area.
xdotool key Return
e2e_wait 10 '! xdotool search --onlyvisible --name "^Close confirmation" >/dev/null 2>&1'
e2e_wait 10 '[ -z "$(e2e_visible_window)" ]'
kill -0 "${E2E_PIDS[-1]}" || { echo "the program quit" >&2; exit 1; }
echo "close request and Escape ignored"
echo "window manager: 3 passed, 0 failed"
