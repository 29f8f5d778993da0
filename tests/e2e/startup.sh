#!/usr/bin/env bash
# The start of the real vexilla.exe under Wine (64-bit prefix):
#   1. "/autobrand" and "-autobrand": the start banner and the command line on the debugger
#      channel, exactly (golden files in tests/e2e/golden/);
#   2. a run with a switch ends by itself without ever showing a window; without a switch the
#      main window opens, carries the program's icon (or the toolkit's, when it asks for its
#      own), and the program lives until it is closed;
#   3. the toolkit's launch password: wrong answer, right answer, Cancel.
# The window checks run under their own Xvfb server. One PASS or FAIL line per check; the exit
# status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the captured lines, driver output and title-bar shots when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/golden.sh
source "$here/lib/golden.sh"
# Every run here takes seconds: a hang fails its check long before the script's own limit.
export VX_WINE_TIMEOUT=30

exe=$VX_BUILD_DIR/vexilla.exe
driver=$VX_BUILD_DIR/tools/uidriver.exe
vx_require_built "$exe" "$driver"

work=$VX_WINE_RUN_DIR/e2e-startup
rm -rf "$work" && mkdir -p "$work" || exit 1
prefixes=()
xvfb_pid=
cleanup() {
  local p
  for p in "${prefixes[@]}"; do vx_server_kill "$p"; done
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# new_prefix NAME: a fresh clone in $VX_WINE_RUN_DIR/prefixes/NAME with the driver, its path in
# $prefix, registered for the clean-up (so not called in a subshell).
new_prefix() {
  prefix=$(vx_new_prefix win64 "$1") || return 1
  prefixes+=("$prefix")
  # The GUI checks drive the program with this; vx_clone only brings the capture tools.
  cp "$driver" "$prefix/drive_c/vxtools/"
}

# exit_code_is WANT GOT
exit_code_is() {
  [ "$2" -eq "$1" ] && return 0
  echo "  exit code $2, expected $1"
  return 1
}

# ---- 1. the banner and the command line --------------------------------------------------
new_prefix e2e-startup && headless=$prefix || exit 1
mkdir -p "$headless/drive_c/vexilla" && cp "$exe" "$headless/drive_c/vexilla/" &&
  cp -a "$VX_REPO_DIR/examples/branding/." "$headless/drive_c/vexilla/" || exit 1
# One warm server for the runs of this prefix.
WINEPREFIX=$headless wineserver -p30

# banner_check COMMAND GOLDEN: with the example kit, the first run takes the factory backup and
# the second finds it.
banner_check() {
  local command=$1 lines=$work/banner_${1//\//slash_}.txt rc=0
  vx_capture "$headless" "$lines" 'C:\vexilla\vexilla.exe' "$command" || rc=$?
  exit_code_is 0 "$rc" && vx_expect_lines "$2" "$lines" "$command" "$(vx_windows_name win7 win64)"
}
check "vexilla.exe /autobrand: banner, command line, factory backup taken" banner_check /autobrand autobrand-first
check "vexilla.exe -autobrand: banner, command line, factory backup found" banner_check -autobrand autobrand-again
vx_server_kill "$headless"

# real_windows_check VERSION: the banner and the report's first line name the Windows the prefix
# reports. For 8.1 and 10 the version query tells only a program whose manifest names them; any
# other is told 6.2 (measured with Wine 8: a probe without the manifest sees 6.2.9200 there).
real_windows_check() {
  local lines=$work/windows-$1.txt report=$work/windows-$1.report name version rc=0
  name=$(vx_windows_name "$1" win64) || return 1
  version=$(vx_program_version)
  vx_set_version "$headless" "$1" || return 1
  vx_capture "$headless" "$lines" 'C:\vexilla\vexilla.exe' /autobran /log "C:\\$1.log" || rc=$?
  vx_set_version "$headless" win7 || return 1
  exit_code_is 6 "$rc" || return 1
  tr -d '\r' <"$headless/drive_c/$1.log" | grep -v '^---- ' >"$report"
  if [ "$(head -n 1 "$report")" != "Vexilla $version on $name: /autobran /log C:\\$1.log" ]; then
    echo "  the report does not start with Vexilla $version on $name:"
    sed 's/^/    /' "$report"
    return 1
  fi
  vx_expect_lines autobran-typo "$lines" "/autobran /log C:\\$1.log" "$name"
}
check "on Windows 10 the banner and the report say Windows 10 (the manifest names it)" \
  real_windows_check win10
check "on Windows 8.1 the banner and the report say Windows 8.1" real_windows_check win81
check "on Windows XP the banner and the report say Windows XP" real_windows_check winxp

# ---- 2 and 3: windows, under Xvfb ---------------------------------------------------------
new_prefix e2e-startup-gui && gui=$prefix || exit 1
# Before X starts: a server left from the set-up would run without a display.
vx_gui_desktop "$gui" || exit 1
mkdir -p "$gui/drive_c/vexilla" "$gui/drive_c/Kit/Vexilla" "$gui/drive_c/Kit/config" &&
  cp "$exe" "$gui/drive_c/vexilla/" && cp "$exe" "$gui/drive_c/Kit/Vexilla/" &&
  printf 'not a program: only its presence counts\r\n' >"$gui/drive_c/Kit/CORVID.EXE" || exit 1

# Xvfb picks a free display itself and writes its number to the descriptor.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL  Xvfb did not start (see $work/xvfb.log)"; exit 1; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
WINEPREFIX=$gui wineserver -p60

drive() { vx_wine "$gui" 'C:\vxtools\uidriver.exe' "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# A run with a switch: the program must end on its own while the driver watches for any window
# titled "Vexilla" (the main window or an input box); a window would keep the process alive.
no_window_check() {
  local lines=$work/headless.txt rc=0 seen=0
  drive wait-window Vexilla 3000 >"$work/headless-driver.txt" 2>&1 &
  local watcher=$!
  vx_capture "$gui" "$lines" 'C:\vexilla\vexilla.exe' /autobrand || rc=$?
  wait "$watcher" || seen=$?
  # No kit beside the program here: 2, the settings file is missing.
  exit_code_is 2 "$rc" || return 1
  # The driver fails with 1 when no such window appeared before its time ran out.
  [ "$seen" -eq 1 ] || { echo "  a window titled Vexilla appeared (driver status $seen)"; return 1; }
  vx_expect_lines autobrand "$lines" /autobrand
}
check "vexilla.exe /autobrand opens no window and ends by itself" no_window_check

# show_main_window EXE LINES SHOT: runs EXE without switches, expects its main window, saves the
# left end of its title bar (where the small icon sits) from the screen to SHOT, closes the
# window and expects the program to end with 0. The process must be alive while its window is.
show_main_window() {
  local exe_path=$1 lines=$2 shot=$3 rc=0 caption bounds left top
  vx_capture "$gui" "$lines" "$exe_path" &
  local program=$!
  caption=$(drive wait-class VexillaMainWindow 15000) || { echo "  no main window"; wait "$program"; return 1; }
  bounds=$(drive rect Vexilla) && read -r left top _ <<<"$bounds"
  # The frame is painted right after the window shows; give it a moment before the shot.
  vx_settle 0.5
  if [ "$caption" != Vexilla ] || [ -z "${top-}" ] || ! kill -0 "$program" 2>/dev/null ||
    ! import -window root -crop "48x32+$left+$top" +repage "$shot"; then
    echo "  caption '$caption', bounds '${bounds-}', or the program ended early, or no screenshot"
    drive close Vexilla >/dev/null 2>&1
    wait "$program"
    return 1
  fi
  drive close Vexilla wait-gone Vexilla 10000 || return 1
  wait "$program" || rc=$?
  exit_code_is 0 "$rc"
}

# The most frequent opaque colour of an icon file's first (16 px) image, as RRGGBB.
icon_signature() {
  convert "$1[0]" -depth 8 txt:- |
    awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^#[0-9A-Fa-f]+$/ && length($i) == 9 && toupper(substr($i, 8, 2)) == "FF") n[toupper(substr($i, 2, 6))]++ }
         END { for (c in n) if (n[c] > best) { best = n[c]; colour = c }; print colour }'
}

# pixels_of SHOT RRGGBB: how many pixels of SHOT have exactly that colour.
pixels_of() {
  convert "$1" -depth 8 txt:- | grep -ci "#$2" || true
}

builtin_icon=$(icon_signature "$VX_REPO_DIR/src/app/vexilla.ico")
alt_icon=$(icon_signature "$VX_REPO_DIR/examples/branding/support.ico")

# shows_icon SHOT RRGGBB: the title bar holds a fair part of a 16 px icon in that colour.
shows_icon() {
  local count
  # Two icons that cannot be told apart would make every icon check meaningless.
  if [ -z "$builtin_icon" ] || [ -z "$alt_icon" ] || [ "$builtin_icon" = "$alt_icon" ]; then
    echo "  no distinct icon colours ('$builtin_icon', '$alt_icon')"
    return 1
  fi
  count=$(pixels_of "$1" "$2")
  [ "$count" -ge 8 ] && return 0
  echo "  $count pixels of #$2 in the title bar ($1)"
  return 1
}

# Without a switch: the main window opens with the built-in icon, and the process lives until
# the window is closed.
main_window_check() {
  show_main_window 'C:\vexilla\vexilla.exe' "$work/window.txt" "$work/title-builtin.png" &&
    shows_icon "$work/title-builtin.png" "$builtin_icon" &&
    vx_expect_lines window "$work/window.txt" ""
}
check "vexilla.exe without switches: main window with icon until closed" main_window_check

# password_check NAME STORED TYPED BUTTON GOLDEN FLAG CODE: the toolkit asks for a password; the
# driver types TYPED (unless "-") and presses BUTTON (1 OK, 2 Cancel); the run must give the
# GOLDEN lines, end with CODE and leave PasswordProtectedLaunch at FLAG.
password_check() {
  local name=$1 stored=$2 typed=$3 button=$4 golden=$5 flag=$6 code=$7 rc=0 now box_ok=0
  local ini=$gui/drive_c/Kit/config/corvid.ini lines=$work/password-$1.txt
  printf '[General]\r\nPasswordProtectedLaunch=1\r\nLaunchPassword=%s\r\n' "$stored" >"$ini" || return 1
  vx_capture "$gui" "$lines" 'C:\Kit\Vexilla\vexilla.exe' /autobrand &
  local program=$!
  if ! drive children Vexilla >"$work/password-$name-box.txt"; then
    echo "  no input box titled Vexilla"
    wait "$program"
    return 1
  fi
  if ! grep -q $'\tEnter Launch Password (case sensitive):$' "$work/password-$name-box.txt" ||
    ! grep -q $'^1000\tEdit\t$' "$work/password-$name-box.txt"; then
    echo "  the input box lacks the prompt or an empty edit control 1000:"
    sed 's/^/    /' "$work/password-$name-box.txt"
    box_ok=1
  fi
  if [ "$typed" != - ]; then
    drive settext Vexilla 1000 "$typed" || return 1
  fi
  drive click Vexilla "$button" wait-gone Vexilla 10000 || return 1
  wait "$program" || rc=$?
  exit_code_is "$code" "$rc" && vx_expect_lines "$golden" "$lines" /autobrand || return 1
  now=$(tr -d '\r' <"$ini" | sed -n 's/^PasswordProtectedLaunch=//p')
  [ "$now" = "$flag" ] || { echo "  PasswordProtectedLaunch=$now, expected $flag"; return 1; }
  return "$box_ok"
}
# A refused launch ends with 5; an accepted one runs /autobrand, which ends with 2 here (the
# toolkit's Config folder holds no settings file).
check "launch password: a wrong answer ends the run silently (exit code 5)" \
  password_check wrong Secret secret 1 password-refused 1 5
check "launch password: the right answer runs the switches and switches the password off" \
  password_check right Secret Secret 1 password-accepted 0 2
check "launch password: Cancel matches an empty password" \
  password_check cancel-empty '' - 2 password-accepted 0 2
check "launch password: Cancel does not match a set password" \
  password_check cancel-set Secret - 2 password-refused 1 5

# The toolkit may ask for its own icon: [Reg] UseAltIcon=1 and ..\config\applogo.ico (here
# the kit's support icon, which shares no colour with the program's).
alt_icon_check() {
  local with_file=$1 shot=$work/title-alt-$1.png ini=$gui/drive_c/Kit/config/corvid.ini
  printf '[Reg]\r\nUseAltIcon=1\r\n' >"$ini" || return 1
  rm -f "$gui/drive_c/Kit/config/applogo.ico"
  if [ "$with_file" = yes ]; then
    cp "$VX_REPO_DIR/examples/branding/support.ico" "$gui/drive_c/Kit/config/applogo.ico" || return 1
  fi
  show_main_window 'C:\Kit\Vexilla\vexilla.exe' "$work/window-alt-$1.txt" "$shot" || return 1
  if [ "$with_file" = yes ]; then
    shows_icon "$shot" "$alt_icon" || return 1
    [ "$(pixels_of "$shot" "$builtin_icon")" -eq 0 ] || { echo "  the built-in icon is still shown"; return 1; }
  else
    shows_icon "$shot" "$builtin_icon"
  fi
}
check "UseAltIcon=1 with applogo.ico: the window shows that icon" alt_icon_check yes
check "UseAltIcon=1 without applogo.ico: the built-in icon" alt_icon_check no

cleanup
trap - EXIT
if [ "$failures" -eq 0 ]; then
  echo "startup: all checks passed"
  [ "${VX_E2E_KEEP-}" = 1 ] || rm -rf "$work" "${prefixes[@]}"
  exit 0
fi
echo "startup: $failures check(s) failed; captured lines and driver output in $work," \
  "prefixes kept: ${prefixes[*]}"
exit 1
