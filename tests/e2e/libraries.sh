#!/usr/bin/env bash
# End-to-end: which system libraries the real vexilla.exe loads, read from Wine's loader trace
# (WINEDEBUG=+loaddll), in a 64-bit prefix reporting Windows 7 with the example kit:
#   1. a switch that does no work loads no window, drawing, shell or COM library;
#   2. the first /autobrand loads shell32 for its copy and brands the system, but loads neither
#      the common controls nor the theme, OLE automation or multimedia library, and starts no
#      desktop process;
#   3. the editor (under its own Xvfb server) loads Common Controls 6 from WinSxS, as the
#      manifest asks, and the theme library: its controls keep their visual styles.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the traces and the prefix when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/kit.sh
source "$here/lib/kit.sh"
export VX_WINE_TIMEOUT=30

kit_script_begin libraries
vx_require_built "$VX_BUILD_DIR/tools/uidriver.exe"
new_kit_prefix win64 e2e-libraries win7 && lib_prefix=$prefix || exit 1

# traced NAME ARGS...: runs vexilla.exe ARGS with the loader and process traces on stderr, kept
# in $work/NAME.trace. The status is the program's.
traced() {
  local name=$1
  shift
  (cd "$lib_prefix/drive_c" && WINEPREFIX=$lib_prefix WINEDEBUG=+loaddll,+process \
    timeout "$(vx_scaled "$VX_WINE_TIMEOUT")" wine 'C:\vexilla\vexilla.exe' "$@") \
    >/dev/null 2>"$work/$name.trace"
}

# loaded NAME: the full paths (lower case) of the DLLs loaded by the thread that loaded
# vexilla.exe. Other processes that trace meanwhile (wineboot, a desktop) have other thread ids.
loaded() {
  tr -d '\r' <"$work/$1.trace" | awk -F'"' '/:trace:loaddll:build_module Loaded / {
    thread = substr($1, 1, index($1, ":") - 1)
    if (main == "" && tolower($2) ~ /\\vexilla\.exe$/) main = thread
    if (main != "" && thread == main) print tolower($2) }' | sed 's/\\\\/\\/g'
}

# loads NAME DLL: DLL (a file name) is among the libraries of run NAME.
loads() { loaded "$1" | grep -q "\\\\$2\$"; }

# loads_none NAME DLL...: none of the DLLs was loaded by run NAME.
loads_none() {
  local name=$1 dll bad=0
  shift
  for dll in "$@"; do
    if loads "$name" "$dll"; then
      echo "  $dll was loaded"
      bad=1
    fi
  done
  [ "$bad" -eq 0 ] || { echo "  all libraries of the run:"; loaded "$name" | sed 's/^/    /'; }
  return "$bad"
}

idle_never_loads=(user32.dll gdi32.dll comctl32.dll uxtheme.dll shell32.dll ole32.dll oleaut32.dll winmm.dll)

# ---- 1. no work, no libraries ------------------------------------------------------------------
idle_check() {
  local rc=0
  traced idle /nothing || rc=$?
  # No switch does anything: 6, "no switch was recognised".
  [ "$rc" -eq 6 ] || { echo "  vexilla.exe /nothing ended with $rc, expected 6"; return 1; }
  # The trace must show the program's own loads, or every "not loaded" below would be empty.
  loads idle advapi32.dll || { echo "  no advapi32.dll in the trace ($work/idle.trace)"; return 1; }
  loads_none idle "${idle_never_loads[@]}"
}
check "a switch without work loads no window, drawing, shell or COM library" idle_check

# ---- 2. the first apply ------------------------------------------------------------------------
first_apply_check() {
  local bad=0 made
  traced first-apply /autobrand || { echo "  vexilla.exe /autobrand did not end with 0"; return 1; }
  made=$(vx_reg_get "$lib_prefix" 64 'HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation' Manufacturer)
  [ "$made" = "Northwind Systems" ] || { echo "  Manufacturer is '$made'"; bad=1; }
  same_file "$kit/oemlogo.bmp" "$lib_prefix/drive_c/windows/system32/oemlogo.bmp" || bad=1
  loads first-apply shell32.dll || { echo "  the logo was copied without shell32.dll"; bad=1; }
  loads_none first-apply comctl32.dll uxtheme.dll oleaut32.dll winmm.dll || bad=1
  if grep -q 'NtCreateUserProcess .*explorer\.exe' "$work/first-apply.trace"; then
    echo "  a desktop process (explorer.exe) was started"
    bad=1
  fi
  return "$bad"
}
check "the first /autobrand loads shell32 for its copy, no common controls or theme, no desktop" \
  first_apply_check

# ---- 3. the editor -------------------------------------------------------------------------------
vx_server_kill "$lib_prefix"
vx_gui_desktop "$lib_prefix" || exit 1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
kit_xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL  Xvfb did not start (see $work/xvfb.log)"; exit 1; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
cp "$VX_BUILD_DIR/tools/uidriver.exe" "$lib_prefix/drive_c/vxtools/" || exit 1
warm "$lib_prefix"

drive() { vx_wine "$lib_prefix" 'C:\vxtools\uidriver.exe' "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

editor_check() {
  local program bad=0 comctl
  traced editor &
  program=$!
  drive wait-class VexillaMainWindow 15000 >/dev/null || { echo "  the editor did not open"; bad=1; }
  drive close Vexilla wait-gone Vexilla 10000 >/dev/null || bad=1
  wait "$program" || { echo "  vexilla.exe without switches did not end with 0"; bad=1; }
  comctl=$(loaded editor | grep '\\comctl32\.dll$')
  case "$comctl" in
    *'\winsxs\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.'*) ;;
    *) echo "  comctl32.dll came from '${comctl:-nowhere}', not Common Controls 6 in WinSxS"; bad=1 ;;
  esac
  loads editor uxtheme.dll || { echo "  uxtheme.dll was not loaded"; bad=1; }
  return "$bad"
}
check "the editor loads Common Controls 6 from WinSxS and the theme library" editor_check

kit_script_end libraries win64
