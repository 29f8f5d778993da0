#!/usr/bin/env bash
# End-to-end: a copy onto a destination that refuses it, with the real vexilla.exe under Wine
# (64-bit prefix reporting Windows 7, the example kit in C:\vexilla), under its own Xvfb server
# since a dialog needs a display to appear at all.
#   1. The System32 logo is held open without sharing by another process while /autobrand runs:
#      the run ends by itself with 1 (a step failed), logs the failed shell copy, leaves the held logo as it was,
#      and no top-level window of any process becomes visible (uidriver.exe enumerates them
#      every 50 ms for the whole run).
#   2. The same watch while vexilla.exe opens its editor sees that window: the watch of check 1
#      can fail.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the captured lines, watch output and the prefix when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/kit.sh
source "$here/lib/kit.sh"
# Every run here takes seconds (autobrand's pause after deleting an old logo is 2 s): a hang
# fails its check long before the script's own limit.
export VX_WINE_TIMEOUT=30

kit_script_begin copy-refused
holdfile=$VX_BUILD_DIR/tools/holdfile.exe
vx_require_built "$holdfile" "$VX_BUILD_DIR/tools/uidriver.exe"

new_kit_prefix win64 e2e-copy-refused win7 && gui=$prefix || exit 1
cp "$holdfile" "$gui/drive_c/vxtools/" || exit 1
# A server started without a display makes GUI runs hang: end it before X starts.
vx_server_kill "$gui"
vx_gui_desktop "$gui" || exit 1

# Xvfb picks a free display itself and writes its number to the descriptor.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
kit_xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL  Xvfb did not start (see $work/xvfb.log)"; exit 1; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
warm "$gui"

logo=$gui/drive_c/windows/system32/oemlogo.bmp
failed_copy='modBranding\CopyFile: the shell copy failed with '

drive() { vx_wine "$gui" 'C:\vxtools\uidriver.exe' "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# release EVENT: signals a named event of the prefix (the end of a hold or of a watch).
release() { vx_wine "$gui" 'C:\vxtools\holdfile.exe' --release "$1" >/dev/null; }

# wait_line FILE LINE PID: until FILE holds LINE (a helper started in the background says it
# is ready), or the helper PID ended, or 30 s (scaled) passed.
wait_line() {
  local i
  for i in $(seq "$(vx_scaled 300)"); do
    tr -d '\r' <"$1" 2>/dev/null | grep -qx "$2" && return 0
    kill -0 "$3" 2>/dev/null || break
    sleep 0.1
  done
  echo "  no \"$2\" from the helper after $i tries:"
  sed 's/^/    /' "$1"
  return 1
}

# start_watch NAME: uidriver.exe watches every top-level window until the event NAME is
# signalled; its output in $work/NAME.txt, its process in $watcher.
start_watch() {
  # Straight into the file: through a pipe (drive's tr) the line would wait in a buffer.
  vx_wine "$gui" 'C:\vxtools\uidriver.exe' watch "$1" 120000 >"$work/$1.txt" 2>&1 &
  watcher=$!
  wait_line "$work/$1.txt" watching "$watcher"
}

# stop_watch NAME: ends the watch and sets $watch_status to its exit status.
stop_watch() {
  watch_status=0
  release "$1" || { echo "  cannot signal the end of the watch $1"; kill "$watcher" 2>/dev/null; }
  wait "$watcher" || watch_status=$?
}

# ---- 1. the copy onto a held logo ----------------------------------------------------------
refused_copy_check() {
  local lines=$work/autobrand-held.txt rc=0 hold_status=0 holder bad=0 started took
  # A first run, with nothing in the way, takes the factory backup and places the kit's logo;
  # its copy must not fail, or the failure line below would prove nothing.
  run "$gui" autobrand-free /autobrand || return 1
  if grep -qF -- "$failed_copy" "$work/autobrand-free.txt"; then
    echo "  the copy failed with nothing in the way (lines in $work/autobrand-free.txt)"
    return 1
  fi
  same_file "$kit/oemlogo.bmp" "$logo" || return 1
  # A logo of its own, so that a copy that got through would show. The file came from the copy
  # above (its own inode, not the template's), but a new one is made all the same.
  rm -f "$logo" && printf 'BM-held-logo' >"$logo" || return 1

  # The logo is held open with share mode 0 by another process, as a viewer or a scanner may
  # hold it. Wine refuses every other open of it with a sharing violation: the deletion before
  # the copy fails, and so does the shell copy's open of its destination for writing. A 32-bit
  # process names the real System32 through sysnative.
  vx_wine "$gui" 'C:\vxtools\holdfile.exe' 'C:\windows\sysnative\oemlogo.bmp' vx-hold-logo 120000 \
    >"$work/holdfile.txt" 2>&1 &
  holder=$!
  wait_line "$work/holdfile.txt" held "$holder" || { wait "$holder"; return 1; }
  if ! start_watch vx-watch-autobrand; then
    release vx-hold-logo
    wait "$holder"
    return 1
  fi

  started=$SECONDS
  vx_capture "$gui" "$lines" 'C:\vexilla\vexilla.exe' /autobrand >"$work/autobrand-held.report" 2>&1 || rc=$?
  took=$((SECONDS - started))
  stop_watch vx-watch-autobrand
  release vx-hold-logo || echo "  cannot release the held logo"
  wait "$holder" || hold_status=$?

  # vx_wine's limit (VX_WINE_TIMEOUT, scaled) ended the run: it did not end by itself.
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    echo "  vexilla.exe /autobrand did not end by itself within $(vx_scaled "$VX_WINE_TIMEOUT") s"
    bad=1
  elif [ "$rc" -ne 1 ]; then
    echo "  vexilla.exe /autobrand ended with $rc after $took s, expected 1 (a step failed)"
    bad=1
  fi
  # The hold must have lasted the whole run: released by the script, not by its own time limit.
  [ "$hold_status" -eq 0 ] ||
    { echo "  the logo was not held for the whole run (holdfile status $hold_status):"; sed 's/^/    /' "$work/holdfile.txt"; bad=1; }
  case "$watch_status" in
    0) ;;
    4) echo "  a window became visible during the run:"; grep -a '^new' "$work/vx-watch-autobrand.txt" | sed 's/^/    /'; bad=1 ;;
    *) echo "  the watch failed with $watch_status:"; sed 's/^/    /' "$work/vx-watch-autobrand.txt"; bad=1 ;;
  esac
  grep -qF 'failed: copy oemlogo.bmp -> C:\windows\System32\oemlogo.bmp' "$work/autobrand-held.report" ||
    { echo "  the report does not name the failed logo copy:"; sed 's/^/    /' "$work/autobrand-held.report"; bad=1; }
  if ! grep -qF -- "$failed_copy" "$lines" ||
    ! grep -qxF -- $'\t\t- sDestination=C:\\windows\\System32\\oemlogo.bmp' "$lines"; then
    echo "  no failed copy of the logo among the captured lines:"
    vx_show_lines "$lines" | sed 's/^/  /'
    bad=1
  fi
  [ "$(cat "$logo" 2>/dev/null)" = BM-held-logo ] || { echo "  the held logo was changed or removed"; bad=1; }
  return "$bad"
}
check "a copy onto a held System32 logo: /autobrand logs the failure, shows no window and ends by itself" \
  refused_copy_check

# ---- 2. the watch sees a window ------------------------------------------------------------
# Without a switch vexilla.exe opens its editor: the watch must report that window, or a watch
# that sees nothing would pass check 1 whatever happened.
watch_sees_check() {
  local program bad=0
  start_watch vx-watch-editor || return 1
  vx_capture "$gui" "$work/editor.txt" 'C:\vexilla\vexilla.exe' &
  program=$!
  if ! drive wait-class VexillaMainWindow 15000 >/dev/null; then
    echo "  the editor did not open"
    bad=1
  fi
  drive close Vexilla wait-gone Vexilla 10000 >/dev/null || bad=1
  wait "$program" || { echo "  vexilla.exe without switches did not end with 0"; bad=1; }
  stop_watch vx-watch-editor
  if [ "$watch_status" -ne 4 ] ||
    ! grep -aq $'^new\t0x[0-9a-f]*\tVexillaMainWindow\tVexilla\tvexilla.exe$' "$work/vx-watch-editor.txt"; then
    echo "  the watch (status $watch_status) did not report the editor's window:"
    sed 's/^/    /' "$work/vx-watch-editor.txt"
    bad=1
  fi
  return "$bad"
}
check "the window watch reports the editor's window when vexilla.exe opens it" watch_sees_check

kit_script_end copy-refused win64
