#!/usr/bin/env bash
# Files in the real program's viewer: a JPEG of the left pane shown in the right pane's
# place by a double click, Escape leaving the viewer, then a GIF of the right pane shown
# in the left pane's place, and a text file the viewer follows to. With DORVANE_SHOT_DIR set, screenshots of both and of the
# item hint are left there.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
e2e_start_display
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
pics="$E2E_ROOT/files/pictures"
mkdir -p "$pics" "$XDG_CONFIG_HOME/dorvane"
convert -size 640x400 plasma:fractal -quality 90 "$pics/garden.jpg"
convert -size 300x200 gradient:orange-navy -colors 64 "$pics/sunset.gif"
printf 'Notes\r\n\r\nSee www.example.org or write to someone@example.org.\r\n\tindented line\r\n' > "$pics/notes.txt"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\cfg]\r\n"ShowDrives"=dword:00000000\r\n"QuitType"=dword:00000002\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\bookmarks\\%s/]\r\n\r\n' "$pics"
} > "$XDG_CONFIG_HOME/dorvane/HKCU.reg"
cd /

dbus-run-session -- bash -c '
  set -u
  program=$1 here=$2 pics=$3 shots=${DORVANE_SHOT_DIR:-}
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  drive() { timeout 30 /usr/bin/python3 "$here/atspi_drive.py" "$@"; }
  fail() { echo "$*" >&2; kill $launcher "${app:-}" 2>/dev/null; exit 1; }
  shot() { [ -z "$shots" ] || { sleep 0.5; import -window root "$shots/$1.png"; }; }
  key() { xdotool search --sync --onlyvisible --name "^Dorvane" windowactivate --sync key "$1"; }
  # Double-clicks the row named ROW of the list LIST, as a user opens a file.
  open_row() {
    local at
    at=$(drive point "$1" "$2") || return 1
    xdotool mousemove ${at% *} ${at#* } click --repeat 2 --delay 80 1
  }

  "$program" & app=$!
  drive press "$pics/" || fail "no bookmark for the pictures"
  open_row FilesLeft garden.jpg || fail "the pictures are not listed"
  drive showing views 10 || fail "a double click on a picture did not open the viewer"
  shot viewer-left-file
  key Escape
  drive hidden views 10 || fail "Escape left the viewer on"
  drive press direction || fail "no direction button"
  drive press "$pics/" || fail "the right pane did not take the bookmark"
  open_row FilesRight sunset.gif || fail "the right pane does not list the pictures"
  drive showing views 10 || fail "a double click on a GIF did not open the viewer"
  shot viewer-right-file
  open_row FilesRight notes.txt || fail "the text file is not listed"
  drive showing TextView 10 || fail "a click on a text file while the viewer is on did not show it"
  shot text-view
  key Escape
  if [ -n "$shots" ]; then
    at=$(drive point FilesLeft garden.jpg)
    xdotool mousemove ${at% *} ${at#* } sleep 1.5
    shot item-hint
  fi
  kill $app $launcher 2>/dev/null
  echo "viewer: 1 passed, 0 failed"
' bash "$program" "$here" "$pics"
