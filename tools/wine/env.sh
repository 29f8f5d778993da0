# shellcheck shell=bash
# The Wine test harness. Source this file (bash) before any wine call: it sets the environment
# every run needs and loads the helpers of its sibling files.
#
#   VX_BUILD_DIR     the cross build holding vexilla.exe, tools/ and tests/  (default build/win32)
#   VX_WINE_RUN_DIR  templates and per-test prefixes                        (default $VX_BUILD_DIR/wine)
#   VX_WINE_TIMEOUT  seconds any one wine call may take on a machine that runs 32-bit x86
#                    programs natively; multiplied by VX_TIME_SCALE          (default 300)
#   VX_TIME_SCALE    how many times slower than that Wine's programs run here (default: 1, or 5
#                    where 32-bit programs run under user-mode emulation, see tools/setup.sh)
#
# Helpers (all print errors on stderr and return non-zero on failure):
#   prefix.sh    vx_template, vx_template_check, vx_new_prefix, vx_clone, vx_install_tools,
#                vx_set_version, vx_userreg_set, vx_userreg_set_dword, vx_set_dpi, vx_gui_desktop
#   capture.sh   vx_capture, vx_show_lines
#   readback.sh  vx_reg_query, vx_reg_get, vx_regfile_get, vx_regfile_has_key, vx_unixpath
#   hive.sh      hive_tree, hive_key_exists, hive_records, hive_records_outside (saved hives)
#   here         vx_wine, vx_server_wait, vx_server_kill, vx_winpath, vx_log, vx_expected_version,
#                vx_scaled, vx_settle

# No Mono or Gecko installers, and no menu entries or icons written into $HOME by .lnk saves.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Only GUI runs set a display, each its own (see vx_gui_desktop).
unset DISPLAY

VX_HARNESS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
VX_REPO_DIR=$(cd "$VX_HARNESS_DIR/../.." && pwd)
: "${VX_BUILD_DIR:=$VX_REPO_DIR/build/win32}"
: "${VX_WINE_RUN_DIR:=$VX_BUILD_DIR/wine}"
: "${VX_WINE_TIMEOUT:=300}"
# Every time limit of the harness is a native figure times this scale, so that a slower machine
# never hits a limit while the program is still doing its job. Emulated 32-bit processes start
# and paint about five times slower than native ones.
if [ -z "${VX_TIME_SCALE-}" ]; then
  VX_TIME_SCALE=1
  grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386 && VX_TIME_SCALE=5
fi
# Wine wants an absolute WINEPREFIX, and the helpers change directory.
VX_BUILD_DIR=$(realpath -m "$VX_BUILD_DIR")
VX_WINE_RUN_DIR=$(realpath -m "$VX_WINE_RUN_DIR")
# Where the Windows-side tools sit inside every prefix made by vx_clone.
VX_TOOLS_WINDIR='C:\vxtools'
export VX_BUILD_DIR VX_WINE_RUN_DIR VX_WINE_TIMEOUT VX_TIME_SCALE VX_TOOLS_WINDIR

vx_log() { printf '[wine-harness] %s\n' "$*" >&2; }

# vx_scaled N: a whole number of seconds or milliseconds as this machine needs it.
vx_scaled() { echo $(($1 * VX_TIME_SCALE)); }

# vx_settle SECONDS: sleeps SECONDS (fractions allowed) scaled, e.g. for a window to paint.
vx_settle() { sleep "$(awk -v s="$1" -v k="$VX_TIME_SCALE" 'BEGIN { print s * k }')"; }

# vx_wine PREFIX PROGRAM [ARGS...]
# Runs one wine process in PREFIX with the current directory C:\ and a time limit; a run that
# times out takes the prefix's server (and every process in it) down with it.
vx_wine() {
  local prefix=$1 rc=0 limit
  limit=$(vx_scaled "$VX_WINE_TIMEOUT")
  shift
  (cd "$prefix/drive_c" && WINEPREFIX=$prefix exec timeout -k 10 "$limit" wine "$@") || rc=$?
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
    vx_log "timed out after ${limit}s: wine $*"
    vx_server_kill "$prefix"
  fi
  return "$rc"
}

# Waits until the prefix's server has saved the registry to *.reg and exited (about 3 s after
# its last process). Returns at once when no server runs.
vx_server_wait() {
  WINEPREFIX=$1 timeout "$(vx_scaled 120)" wineserver -w || {
    vx_log "wineserver -w did not finish in $1; killing it"
    vx_server_kill "$1"
    return 1
  }
}

vx_server_kill() { WINEPREFIX=$1 timeout 30 wineserver -k >/dev/null 2>&1 || true; }

# vx_winpath PREFIX UNIXPATH: the Windows path a program in PREFIX sees for UNIXPATH
# (C: for the prefix's drive_c, Z: for anything else).
vx_winpath() {
  local prefix path rest
  prefix=$(cd "$1" && pwd -P)
  path=$(realpath -m "$2")
  case "$path" in
    "$prefix/drive_c") rest='C:\' ;;
    "$prefix/drive_c/"*) rest="C:\\${path#"$prefix/drive_c/"}" ;;
    *) rest="Z:$path" ;;
  esac
  printf '%s\n' "${rest//\//\\}"
}

# vx_expected_version NAME: the version GetVersionExA reports for a value of
# HKCU\Software\Wine "Version" (empty or "win7" meaning no value: a Windows 7 workstation).
vx_expected_version() {
  case "$1" in
    '' | win7 | win2008r2) echo 6.1.7601 ;;
    win2k) echo 5.0.2195 ;;
    winxp) echo 5.1.2600 ;;
    winxp64 | win2003) echo 5.2.3790 ;;
    vista | win2008) echo 6.0.6002 ;;
    win8) echo 6.2.9200 ;;
    # Only to a program whose manifest names Windows 8.1 and 10; any other is told 6.2.9200.
    # Wine 8 knows no Windows 11 nor Server 2016 and later.
    win81) echo 6.3.9600 ;;
    win10) echo 10.0.18362 ;;
    *) vx_log "no known version for '$1'"; return 1 ;;
  esac
}

# shellcheck source=prefix.sh
source "$VX_HARNESS_DIR/prefix.sh"
# shellcheck source=capture.sh
source "$VX_HARNESS_DIR/capture.sh"
# shellcheck source=readback.sh
source "$VX_HARNESS_DIR/readback.sh"
# shellcheck source=hive.sh
source "$VX_HARNESS_DIR/hive.sh"
