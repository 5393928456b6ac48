# Sourced by the end-to-end tests: a private X display with openbox and trayer, a
# private HOME and XDG folders, and helpers that wait on conditions with time-outs.
set -euo pipefail

E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-e2e-XXXXXX")
mkdir -p "$E2E_ROOT"/{home,config,data,runtime,cache}
chmod 700 "$E2E_ROOT/runtime"
export HOME="$E2E_ROOT/home" XDG_CONFIG_HOME="$E2E_ROOT/config" XDG_DATA_HOME="$E2E_ROOT/data"
export XDG_RUNTIME_DIR="$E2E_ROOT/runtime" XDG_CACHE_HOME="$E2E_ROOT/cache"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
E2E_PIDS=()

e2e_cleanup() {
  # The program first, the display last, so nothing loses its X connection mid-run.
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do kill "${E2E_PIDS[i]}" 2>/dev/null || true; sleep 0.05; done
  wait 2>/dev/null || true
  rm -rf "$E2E_ROOT"
}
trap e2e_cleanup EXIT

# Starts Xvfb on a display number it picks itself, so parallel tests never collide.
e2e_start_display() {
  local fdfile="$E2E_ROOT/displayfd"
  exec 7> "$fdfile"
  Xvfb -displayfd 7 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  exec 7>&-
  e2e_wait 10 "test -s '$fdfile'"
  export DISPLAY=":$(head -n1 "$fdfile")"
  e2e_wait 10 "xdpyinfo >/dev/null 2>&1"
  e2e_start_window_manager || return 1
  # The tray's panel window appears once it owns the notification area; a tray that
  # did not come up is started once more before the test gives up.
  local attempt
  for attempt in 1 2 3; do
    trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 >>"$E2E_ROOT/trayer.log" 2>&1 &
    E2E_PIDS+=($!)
    if e2e_wait 10 "xdotool search --classname panel >/dev/null 2>&1" 2>/dev/null; then
      e2e_start_window_manager
      return
    fi
    kill "${E2E_PIDS[-1]}" 2>/dev/null || true
  done
  echo "the notification area did not start:" >&2
  cat "$E2E_ROOT/trayer.log" >&2
  return 1
}

# Starts openbox unless the one started before still runs. On these machines a fresh
# openbox now and then quits right after taking the display, leaving windows without
# a manager; the desktop the tests need has one, so it is started again.
E2E_WM_PID=""
e2e_start_window_manager() {
  local attempt
  for attempt in 1 2 3; do
    if [ -n "$E2E_WM_PID" ] && kill -0 "$E2E_WM_PID" 2>/dev/null; then
      return 0
    fi
    openbox >>"$E2E_ROOT/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    E2E_PIDS+=($E2E_WM_PID)
    e2e_wait 10 "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window" || continue
    sleep 0.3
  done
  kill -0 "$E2E_WM_PID" 2>/dev/null || { echo "the window manager did not stay up:" >&2; cat "$E2E_ROOT/openbox.log" >&2; return 1; }
}

# e2e_wait SECONDS 'shell condition': polls until the condition holds or fails the test.
e2e_wait() {
  local limit=$1; shift
  local deadline=$((SECONDS + limit))
  until eval "$*"; do
    if [ $SECONDS -ge $deadline ]; then
      echo "timed out after ${limit}s waiting for: $*" >&2
      return 1
    fi
    sleep 0.1
  done
}

e2e_visible_window() {
  xdotool search --onlyvisible --name "^Dorvane" 2>/dev/null | head -n1
}

# Activates the program's window the way a person would, with a click on a blank spot
# of the command column; true once the window manager has made it the active window.
# The window is looked up on each try: its native window may be made anew while it starts.
e2e_activate_window() {
  window=$(e2e_visible_window)
  [ -n "$window" ] || return 1
  xdotool windowactivate "$window" 2>/dev/null || true
  xdotool mousemove --window "$window" 296 420 click 1 2>/dev/null || true
  sleep 0.2
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]
}
