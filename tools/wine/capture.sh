# shellcheck shell=bash
# Exact capture of a program's OutputDebugString lines through dbgcapture.exe. Sourced by env.sh.

# vx_capture PREFIX OUTFILE PROGRAM [ARGS...]
# Runs PROGRAM (a Windows path, e.g. 'C:\vexilla\vexilla.exe') in PREFIX as a debuggee and
# writes its debug lines to OUTFILE (a Unix path, inside the prefix or not), one per line,
# bytes as sent. Returns the program's exit code (modulo 256, as every wine exit is); 125 or 126
# with a "dbgcapture:" line on stderr when the capture itself could not run.
vx_capture() {
  local prefix=$1 out=$2
  shift 2
  [ -f "$prefix/drive_c/vxtools/dbgcapture.exe" ] ||
    { vx_log "no dbgcapture.exe in $prefix (vx_clone copies it from $VX_BUILD_DIR/tools)"; return 126; }
  mkdir -p "$(dirname "$out")" || return 126
  vx_wine "$prefix" "$VX_TOOLS_WINDIR\\dbgcapture.exe" "$(vx_winpath "$prefix" "$out")" "$@"
}

# vx_show_lines FILE: the captured lines for a reader, numbered, a TAB shown as "→".
vx_show_lines() {
  awk '{ gsub(/\t/, "→"); printf "%4d  %s\n", NR, $0 }' "$1"
}
