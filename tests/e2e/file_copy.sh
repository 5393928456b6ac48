#!/usr/bin/env bash
# A file copied from one pane to the other in the real program: both panes moved by
# bookmarks, a row selected and "Copy" pressed over the accessibility bus; the copy
# must be on disk, whole, and listed in the target pane.
source "$(dirname "$0")/xsession.sh"
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
e2e_start_display
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
src="$E2E_ROOT/files/src" dst="$E2E_ROOT/files/dst"
mkdir -p "$src" "$dst" "$XDG_CONFIG_HOME/dorvane"
head -c 300000 /dev/urandom > "$src/payload.bin"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\cfg]\r\n"ShowDrives"=dword:00000000\r\n"QuitType"=dword:00000002\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Molvek\\zpt\\bookmarks\\%s/]\r\n\r\n' "$src" "$dst"
} > "$XDG_CONFIG_HOME/dorvane/HKCU.reg"
cd /

dbus-run-session -- bash -c '
  set -u
  program=$1 here=$2 src=$3 dst=$4
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  drive() { timeout 30 /usr/bin/python3 "$here/atspi_drive.py" "$@"; }
  fail() { echo "$*" >&2; kill $launcher "${app:-}" 2>/dev/null; exit 1; }

  "$program" & app=$!
  drive press "$src/" || fail "no bookmark for the source folder"
  drive press direction || fail "no direction button"
  drive press "$dst/" || fail "no bookmark for the target folder"
  drive press direction || fail "direction button gone"
  drive select FilesLeft payload.bin || fail "the source row cannot be selected"
  drive press Copy || fail "no Copy button"
  drive row FilesRight payload.bin || fail "the copy is not listed in the target pane"
  cmp -s "$src/payload.bin" "$dst/payload.bin" || fail "the copy differs from its source"
  ls -A "$dst" | grep -v "^payload.bin$" && fail "something besides the copy was left in the target"
  kill $app $launcher 2>/dev/null
  echo "file copy: 1 passed, 0 failed"
' bash "$program" "$here" "$src" "$dst"
