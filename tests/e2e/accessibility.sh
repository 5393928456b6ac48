#!/usr/bin/env bash
# Screen readers reach the program: buttons by caption and pane rows with their cells,
# read over AT-SPI from a separate process.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
e2e_start_display
here=$(cd "$(dirname "$0")" && pwd)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
# A folder of known content on the start volume: the program starts at the root of the
# volume that holds its current folder.
cd /
# Not exec'd: the display and its helpers are stopped when this script ends.
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 0.5
  "$0" &
  program_pid=$!
  /usr/bin/python3 "$1/accessibility.py" "bin"
  rc=$?
  kill $program_pid $launcher 2>/dev/null
  wait 2>/dev/null
  exit $rc
' "$program" "$here"
