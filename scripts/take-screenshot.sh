#!/usr/bin/env bash
# Takes the README's screenshot again: makes a demo folder, starts the program on a
# virtual display with fresh settings, opens the demo folder on the left and its Music
# folder on the right, and saves the window to docs/screenshot.png.
#
#   scripts/take-screenshot.sh [PROGRAM [OUTPUT]]
#
# The panes always start at the root of the volume, so they are moved there the way a
# person would: by the two bookmarks the settings hold, pressed over the accessibility bus.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
demo=/var/tmp/dorvane-demo

# Second stage, run by run-under-xvfb.sh on its display: start the program and move it.
if [ "${1:-}" = "--drive" ]; then
  program=$2
  exec dbus-run-session -- bash -c '
    program=$1 drive=$2 demo=$3
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    "$program" & app=$!
    /usr/bin/python3 "$drive" press "$demo/" &&
      /usr/bin/python3 "$drive" press direction &&
      /usr/bin/python3 "$drive" press "$demo/Music/" &&
      /usr/bin/python3 "$drive" press direction &&
      /usr/bin/python3 "$drive" row FilesRight Albums ||
      echo "the panes could not be moved to the demo folders" >&2
    # The window opens at its smallest size, too narrow for the descriptions.
    xdotool search --onlyvisible --name "^Dorvane" windowsize 1180 560
    xdotool mousemove 0 799
    wait $app
  ' bash "$program" "$here/../tests/e2e/atspi_drive.py" "$demo"
fi

program=$(realpath "${1:-$here/../build/src/dorvane}")
output=$(realpath -m "${2:-$here/../docs/screenshot.png}")

rm -rf "$demo"
mkdir -p "$demo"/{Backup,Photos,Projects,Music/Albums}
head -c 4000000 /dev/urandom > "$demo/Music/Albums/summer-live.flac"
head -c 2500000 /dev/urandom > "$demo/Photos/beach.jpg"
head -c 5300 /dev/urandom > "$demo/Projects/notes.md"
head -c 48000 /dev/urandom > "$demo/report.pdf"
printf 'Buy milk\nCall the plumber\nFinish the quarterly report\n' > "$demo/todo.txt"
(cd "$demo" && zip -qr archive.zip Projects Photos)
printf '%s\r\n' 'Music My music collection' 'Photos Pictures from the summer' \
  'archive.zip Old projects' 'report.pdf Quarterly report, final version' \
  'todo.txt Things to do this week' > "$demo/DESCRIPT.ION"

session=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-shot-XXXXXX")
trap 'rm -rf "$session"' EXIT
mkdir -p "$session"/{home,config/dorvane,data,runtime,cache}
chmod 700 "$session/runtime"
export HOME="$session/home" XDG_CONFIG_HOME="$session/config" XDG_DATA_HOME="$session/data"
export XDG_RUNTIME_DIR="$session/runtime" XDG_CACHE_HOME="$session/cache"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\cfg]\r\n"ShowDrives"=dword:00000000\r\n"QuitType"=dword:00000002\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\MainForm]\r\n"Left"="0"\r\n"Top"="0"\r\n"Width"="1100"\r\n"Height"="560"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\bookmarks\\%s/]\r\n\r\n' "$demo" "$demo/Music"
} > "$XDG_CONFIG_HOME/dorvane/HKCU.reg"

cd "$demo"
"$here/run-under-xvfb.sh" --shot "$output" --wait 20 --window Dorvane "$here/take-screenshot.sh" --drive "$program"
