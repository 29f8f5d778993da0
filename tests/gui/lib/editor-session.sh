# shellcheck shell=bash
# The editor of the real vexilla.exe in a fresh 64-bit prefix under its own Xvfb, driven by
# uidriver.exe: the set-up and helpers the GUI scripts share.
# Source after tools/wine/env.sh and tests/e2e/lib/checks.sh, then call `session_open NAME`:
#   $prefix, $app (C:\vexilla with vexilla.exe and the example kit), $work (kept files), DISPLAY;
#   drive VERB...           uidriver in the prefix, its output without CRs
#   start_editor WINPATH NAME, editor_ended, close_editor, abandon_editor
#   task_item GROUP ITEM    clicks an item of the task pane with the keyboard
#   task_item_keys GROUP ITEM  the driver's keys for that click (to batch many in one driver run)
#   answer_box TEXT BUTTON  the next message box says TEXT; BUTTON answers it
# The clean-up (servers, Xvfb) runs on EXIT.

exe=$VX_BUILD_DIR/vexilla.exe
driver=$VX_BUILD_DIR/tools/uidriver.exe
kit=$VX_REPO_DIR/examples/branding
vx_require_built "$exe" "$driver"

prefix=
xvfb_pid=
program=
session_cleanup() {
  [ -z "$prefix" ] || vx_server_kill "$prefix"
  [ -z "$program" ] || wait "$program" 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
trap session_cleanup EXIT

server_up() { WINEPREFIX=$prefix wineserver -p120; }
# Ends every process of the prefix and saves the registry to *.reg.
server_down() { vx_server_kill "$prefix"; }

# session_open NAME: the prefix, the program beside the example kit, the display, a warm server.
session_open() {
  work=$VX_WINE_RUN_DIR/gui-$1
  rm -rf "$work" && mkdir -p "$work" || return 1
  prefix=$(vx_new_prefix win64 "gui-$1") || return 1
  cp "$driver" "$prefix/drive_c/vxtools/" || return 1
  # Debian's Wine looks for its own fonts (MS Sans Serif, Tahoma, Marlett for the caption
  # buttons) only in C:\windows\Fonts; without them every face falls back to a Linux font.
  if [ -d /usr/share/wine/fonts ]; then
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null
  fi
  # Before X starts: a server left from the set-up would run without a display. Large enough
  # for the window at 144 DPI (about 1100 x 530 pixels).
  vx_gui_desktop "$prefix" 1280x1024 || return 1
  app=$prefix/drive_c/vexilla
  mkdir -p "$app" && cp "$exe" "$app/" && cp -a "$kit/." "$app/" || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL  Xvfb did not start (see $work/xvfb.log)"; return 1; }
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
  server_up
}

drive() { vx_wine "$prefix" 'C:\vxtools\uidriver.exe' "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# start_editor WINPATH NAME: runs the exe without switches as a debuggee (lines in
# $work/NAME.lines) and waits for its window. A session lasts as long as the checks that drive
# it, however slow the machine: a hung window fails the check that waits for it, and only a
# session the checks lost track of meets the session's own limit.
editor_session_limit=1200
start_editor() {
  lines=$work/$2.lines
  VX_WINE_TIMEOUT=$editor_session_limit vx_capture "$prefix" "$lines" "$1" &
  program=$!
  drive wait-class VexillaMainWindow 20000 >/dev/null || { echo "  no editor window"; abandon_editor; return 1; }
}

# The program must end with 0 once its window is gone, without errors on its channel (failures
# the window or its procedures trapped show as "frmVexilla... VB ERROR" lines).
editor_ended() {
  local rc=0
  drive wait-gone Vexilla 10000 || { abandon_editor; return 1; }
  wait "$program" || rc=$?
  program=
  [ "$rc" -eq 0 ] || { echo "  exit code $rc"; return 1; }
  if grep -a 'frmVexilla.*VB ERROR' "$lines"; then
    echo "  the editor reported errors (above)"
    return 1
  fi
}

close_editor() { drive close Vexilla >/dev/null && editor_ended; }

# After a failure: end whatever runs in the prefix so that the next check starts clean.
abandon_editor() {
  server_down
  [ -z "$program" ] || wait "$program" 2>/dev/null
  program=
  server_up
}

# task_item_keys GROUP ITEM: Up to the first header, Down through the headers and items before
# the item (all groups expanded), Enter.
task_item_keys() {
  local steps=$2 group
  for ((group = 1; group < $1; group++)); do
    case $group in 1) steps=$((steps + 5)) ;; 2) steps=$((steps + 4)) ;; esac
  done
  printf 'up*12,down*%d,return' "$steps"
}

task_item() { drive keys Vexilla 100 "$(task_item_keys "$1" "$2")"; }

answer_box() {
  local text
  text=$(drive box-text Vexilla 20000) || { echo "  no message box (expected '$1')"; return 1; }
  [ "$text" = "$1" ] || { echo "  message box says '$text', expected '$1'"; return 1; }
  drive answer Vexilla "$2"
}
