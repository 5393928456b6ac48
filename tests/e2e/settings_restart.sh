#!/usr/bin/env bash
# Settings survive a restart of the real program: a bookmark added and the answer
# "Yes! Always quit in the future" given in one run are there in the next.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
e2e_start_display
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
cd /

dbus-run-session -- bash -c '
  set -u
  program=$1 here=$2
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  drive() { timeout 30 /usr/bin/python3 "$here/atspi_drive.py" "$@"; }
  main_window() { xdotool search --onlyvisible --name "^Dorvane" 2>/dev/null | head -n1; }
  wait_window() { for _ in $(seq 200); do [ -n "$(main_window)" ] && return 0; sleep 0.1; done; return 1; }
  wait_gone() { for _ in $(seq 200); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done; return 1; }
  # A close request can be lost while the window is still busy with the previous
  # action; it is repeated until the question shows (a blocked window ignores more).
  ask_close() {
    for _ in 1 2 3; do
      wmctrl -i -c "$(main_window)" 2>/dev/null
      drive has "Yes! Always quit in the future" 7 >/dev/null 2>&1 && return 0
    done
    return 1
  }
  fail() { echo "$*" >&2; kill $launcher "${first:-}" "${second:-}" 2>/dev/null; exit 1; }

  "$program" & first=$!
  wait_window || fail "no window in the first run"
  drive press "Add bookmark" || fail "Add bookmark not reached"
  ask_close || fail "no close question"
  drive press "Yes! Always quit in the future" || fail "close question gone"
  wait_gone $first || fail "first run did not quit"

  "$program" & second=$!
  wait_window || fail "no window in the second run"
  drive has-in "Bookmarks" "/" || fail "bookmark not back after the restart"
  wmctrl -i -c "$(main_window)"
  wait_gone $second || fail "second run asked instead of quitting"
  kill $launcher 2>/dev/null
  echo "settings restart: 1 passed, 0 failed"
' bash "$program" "$here"
