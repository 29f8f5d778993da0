#!/usr/bin/env bash
# A headless run closes every handle it opens: tools' headless-handles.exe runs the program's
# headless start (the engine and the real backend of vexilla.exe, linked the same way) four
# times in one process beside the example kit, in a 64-bit prefix reporting Windows 7 and XP,
# and lists the handles each run left open. The first run may load DLLs and keep what they
# open; from the second run on a run may keep none. The figures go to $work/*.txt (and into
# docs/reliability.md, "Leaks").
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the prefix and the figures when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
export VX_WINE_TIMEOUT=120

harness=$VX_BUILD_DIR/tools/headless-handles.exe
vx_require_built "$harness"

work=$VX_WINE_RUN_DIR/e2e-handles
rm -rf "$work" && mkdir -p "$work" || exit 1
prefix=
cleanup() { [ -z "$prefix" ] || vx_server_kill "$prefix"; }
trap cleanup EXIT

prefix=$(vx_new_prefix win64 e2e-handles) || exit 1
app=$prefix/drive_c/vexilla
mkdir -p "$app" && cp "$harness" "$app/" && cp -a "$VX_REPO_DIR/examples/branding/." "$app/" ||
  exit 1
WINEPREFIX=$prefix wineserver -p60

# runs NAME SWITCHES...: the harness's lines in $work/NAME.txt, shown indented.
runs() {
  local name=$1 rc=0
  shift
  VX_RUNS=4 vx_wine "$prefix" 'C:\vexilla\headless-handles.exe' "$@" 2>"$work/$name.err" |
    tr -d '\r' >"$work/$name.txt"
  rc=${PIPESTATUS[0]}
  sed 's/^/  /' "$work/$name.txt"
  [ "$rc" -eq 0 ] || { echo "  harness exit code $rc"; return 1; }
}

# Lines "run N  before B  after A  kept K  wine W  exit E", each followed by its K kept handles.
# The first run loads DLLs whose start opens lasting system objects (measured: 14, e.g. the
# window station, the desktop, Wine's font keys and mutex); it may keep up to 16. From the
# second run on nothing may be kept. W counts the classes-root handles Wine 8 itself leaks for
# each call below HKEY_CLASSES_ROOT in a registry view (tools/wine/headless-handles.cpp).
first_run_allowance=16
no_growth() {
  awk -v allowed="$first_run_allowance" '
    /^run / { n++; kept = $8
              if (n == 1 && kept > allowed) { printf "  the first run kept %d handles, more than %d\n", kept, allowed; bad = 1 }
              if (n > 1 && kept > 0) { printf "  run %d kept %d handles\n", $2, kept; bad = 1 } }
    END { if (n != 4) { printf "  %d runs reported, expected 4\n", n; bad = 1 }; exit bad }' "$work/$1.txt"
}

# exits_are NAME CODE...: the exit code of each run.
exits_are() {
  local got
  got=$(awk '/^run / { printf "%s%s", sep, $12; sep = " " }' "$work/$1.txt")
  shift
  [ "$got" = "$*" ] && return 0
  echo "  exit codes $got, expected $*"
  return 1
}

handles_check() {
  local name=$1 codes=$2
  shift 2
  # shellcheck disable=SC2086
  runs "$name" "$@" && exits_are "$name" $codes && no_growth "$name"
}

check "Windows 7: /autobrand /desklnk /rem four times, no handle kept from the second run on" \
  handles_check win7-brand "0 0 0 0" /autobrand /desklnk /rem
check "Windows 7: /plan /rem /autobrand /desklnk four times, no handle kept" \
  handles_check win7-plan "0 0 0 0" /plan /rem /autobrand /desklnk
check "Windows 7: /autobrand /desklnk four times, no handle kept" \
  handles_check win7-apply "0 0 0 0" /autobrand /desklnk
check "Windows 7: /verify /desklnk four times finds the branding, no handle kept" \
  handles_check win7-verify "0 0 0 0" /verify /desklnk
vx_server_kill "$prefix"
vx_set_version "$prefix" winxp || exit 1
WINEPREFIX=$prefix wineserver -p60
check "Windows XP: /autobrand /desklnk /rem four times (OEM link, support text), no handle kept" \
  handles_check winxp-brand "0 0 0 0" /autobrand /desklnk /rem

cleanup
vx_script_summary handles VX_E2E_KEEP "figures in $work, prefix kept: $prefix" "$work" "$prefix"
