#!/usr/bin/env bash
# End-to-end: the real vexilla.exe against broken and hostile branding kits, through
# tools/hostile/run.sh (its --subset: at least one kit of each family of
# tools/hostile/make-kits.py, a few also reporting Windows 10 and XP).
#   1. The runner's judges can fail: dbgcapture --exit-code gives the whole exit code of a
#      program that faults (0xC000001D), of one that exits with 0xC0000005 (which Wine's exit
#      status cuts to 5) and of one that exits with 7; the stray-write judge flags a file and a registry value written outside the
#      allowed places and passes the allowed ones; run against a stand-in for vexilla.exe that
#      writes a file and a registry value where it never may, the runner flags both and names
#      the switch that wrote the value. (copy-refused.sh proves the window watch.)
#   2. Every kit of the subset, each switch (/autobrand, /desklnk, /rem, /restore, /verify,
#      /plan): no crash, no hang, no window, nothing written outside the allowed places.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the captured lines and the prefix when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/kit.sh
source "$here/lib/kit.sh"
export VX_WINE_TIMEOUT=30

kit_script_begin hostile
hostile=$VX_REPO_DIR/tools/hostile
vx_require_built "$VX_BUILD_DIR/tools/exitwith.exe" "$VX_BUILD_DIR/tools/uidriver.exe" \
  "$VX_BUILD_DIR/tools/holdfile.exe" "$VX_BUILD_DIR/tools/strayprobe.exe"

# ---- 1. the judges ---------------------------------------------------------------------------
exit_code_check() {
  local p rc bad=0 code run
  p=$(vx_new_prefix win64 e2e-hostile-codes) || return 1
  prefixes+=("$p")
  warm "$p"
  # A real fault (an illegal instruction), the code of an access violation given to ExitProcess
  # (Wine's status is its low byte, 5: Vexilla's own "password refused"), and a plain code.
  for run in 'crash 0xc000001d' '3221225477 0xc0000005' '7 0x00000007'; do
    # shellcheck disable=SC2086 # two words: the argument and the code expected
    set -- $run
    rc=0
    vx_wine "$p" "$VX_TOOLS_WINDIR\\dbgcapture.exe" --exit-code 'C:\exitcode.txt' 'C:\lines.txt' \
      'C:\vxtools\exitwith.exe' "$1" >/dev/null 2>&1 || rc=$?
    code=$(tr -d '\r\n' <"$p/drive_c/exitcode.txt" 2>/dev/null)
    [ "$code" = "$2" ] || { echo "  exitwith $1: the code file says \"$code\", expected $2 (status $rc)"; bad=1; }
    [ "$rc" -eq $(($2 & 255)) ] || { echo "  exitwith $1: status $rc, expected the low byte of $2"; bad=1; }
  done
  return "$bad"
}
check "dbgcapture --exit-code gives the whole exit code of a faulting program and of exits with 0xC0000005 and 7" \
  exit_code_check

strays_check() {
  local files=() keys=() bad=0 out d=$work/judge
  mkdir -p "$d" || return 1
  mapfile -t files < <("$hostile/run.sh" --allowed files)
  mapfile -t keys < <("$hostile/run.sh" --allowed keys)
  [ ${#files[@]} -gt 0 ] && [ ${#keys[@]} -gt 0 ] || { echo "  run.sh --allowed printed nothing"; return 1; }
  # Names as the profile functions read them: quotes around and blanks at either end dropped.
  printf 'ShortcutName=Contoso Help\nShortcutIcon=help.ico\nButtonIcon=..\\evil.ico\n' >"$d/names.txt"
  printf 'ShortcutName="Quoted"\nDropDesktopShortcutIcon= other.ico \n' >>"$d/names.txt"
  printf 'windows/notepad.exe\t100\t1\nwindows/win.ini\t10\t1\n' >"$d/before"
  printf '%s\t1\t2\n' 'windows/notepad.exe' 'windows/help.ico' 'users/Public/Desktop/Contoso Help.url' \
    'ProgramData/Vexilla/FactoryBackup/factory.reg' 'windows/system32/oemlogo.bmp' 'evil.ico' \
    'windows/Contoso Help.url' 'users/Public/Desktop/Quoted.url' 'windows/other.ico' >"$d/after"
  out=$(python3 "$hostile/strays.py" files "$d/names.txt" "$d/before" "$d/after" "${files[@]}")
  same "the files the judge flags" "$(printf '%s\n' 'added evil.ico' 'added windows/Contoso Help.url' \
    'changed windows/notepad.exe' 'removed windows/win.ini')" "$out" || bad=1
  printf '%s\n' 'system.reg [Software\\Wine] "A"="1"' >"$d/hive-before"
  printf '%s\n' 'system.reg [Software\\Vexilla\\PlacedFiles] "x"="1"' \
    'system.reg [Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformation] "Model"="M"' \
    'system.reg [Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformationX] "Model"="M"' \
    'user.reg [Software\\Contoso] "Model"="M"' >"$d/hive-after"
  out=$(python3 "$hostile/strays.py" registry - "$d/hive-before" "$d/hive-after" "${keys[@]}")
  same "the registry records the judge flags" "$(printf '%s\n' \
    'added system.reg [Software\\Microsoft\\Windows\\CurrentVersion\\OEMInformationX] "Model"="M"' \
    'added user.reg [Software\\Contoso] "Model"="M"' 'removed system.reg [Software\\Wine] "A"="1"')" \
    "$out" || bad=1
  return "$bad"
}
check "the stray-write judge flags writes outside the allowed places and passes the allowed ones" strays_check

# A stand-in for vexilla.exe writes a file on /desklnk and a registry value on /rem (the key and
# the value: two records, in the 32-bit view): the runner must flag both, the file on its run
# and the value by the switch that wrote it.
probe_check() {
  local rc=0 line
  VX_HOSTILE_EXE=$VX_BUILD_DIR/tools/strayprobe.exe VX_HOSTILE_DIR=$work/probe "$hostile/run.sh" 2 \
    >"$work/probe.txt" 2>&1 || rc=$?
  rm -rf "$VX_WINE_RUN_DIR"/prefixes/hostile-k002-*
  line=$(grep '^k002' "$work/probe.txt")
  [ "$rc" -eq 1 ] && grep -q '| desklnk 0x00000000 strays 1 |' <<<"$line" &&
    grep -q '| restore 0x00000000 |' <<<"$line" &&
    grep -q '| registry strays 2 (written by rem)$' <<<"$line" && return 0
  echo "  run.sh with the stand-in ended with $rc:"
  sed 's/^/    /' "$work/probe.txt"
  return 1
}
check "the runner flags a stand-in's stray file on its run and its stray registry value by its switch" \
  probe_check

# ---- 2. the subset ---------------------------------------------------------------------------
subset_check() {
  local rc=0 t0=$SECONDS
  VX_HOSTILE_DIR=$work/run "$hostile/run.sh" --subset >"$work/table.txt" 2>&1 || rc=$?
  echo "  $(tail -n 1 "$work/table.txt") (this script's check took $((SECONDS - t0)) s)"
  [ "$rc" -eq 0 ] && return 0
  echo "  run.sh --subset ended with $rc:"
  sed 's/^/    /' "$work/table.txt"
  return 1
}
check "the hostile kits of the subset: no crash, hang, window or stray write under any switch" subset_check

kit_script_end hostile win64
