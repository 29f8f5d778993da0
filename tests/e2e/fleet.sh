#!/usr/bin/env bash
# End-to-end: what deployment engines rely on, with the real vexilla.exe under Wine (64-bit
# prefix reporting Windows 7, the example kit in C:\vexilla):
#   1. exit codes of real runs: 6 for a line without a switch (the report names the program's
#      version and the Windows it runs on), 4 for /restore without a backup,
#      3 for /verify of an unbranded system, 2 without a settings file, 0 for a run that did its
#      work (1 and 5 are proven by branding.sh, copy-refused.sh and startup.sh);
#   2. /plan of /rem /autobrand /desklnk on a machine with another vendor's branding: the saved
#      hive and every file of drive_c, with its time stamp, are as they were, while the report
#      names each change, old and new;
#   3. /verify passes right after /autobrand /desklnk, and catches a changed value, a missing
#      value, a stray copy in the 32-bit view, a missing logo and a different logo;
#   4. /log with a path holding spaces, "-" and "/": the report is appended there and nothing
#      in the path runs as a switch;
#   5. the report reaches the console of "cmd /c start /wait", and the exit code cmd's.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the reports, captured lines and the prefix when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/kit.sh
source "$here/lib/kit.sh"
# shellcheck source=lib/golden.sh
source "$here/lib/golden.sh"
export VX_WINE_TIMEOUT=30

kit_script_begin fleet
oem_key='HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation'
logo=drive_c/windows/system32/oemlogo.bmp
desktop_url='C:\users\Public\Desktop\Northwind Support.url'

new_kit_prefix win64 e2e-fleet win7 && p=$prefix || exit 1

# differences REPORT: the number of "differs:" lines.
differences() { tr -d '\r' <"$work/$1.report" | grep -c '^differs: '; }

# ---- 1. exit codes ---------------------------------------------------------------------------
exit_codes() {
  local bad=0
  run_ending 6 "$p" typo /autobran || bad=1
  has typo "Vexilla $(vx_program_version) on Windows 7 (64-bit): /autobran" \
    'skipped: "autobran" is not a switch' 'exit code 6: no switch was recognised' || bad=1
  run_ending 4 "$p" restore-none /restore || bad=1
  has restore-none 'skipped: restore: there is no factory backup; nothing was restored' || bad=1
  run_ending 3 "$p" verify-clean /verify || bad=1
  has verify-clean 'differs: Manufacturer is absent, the kit gives "Northwind Systems" (64-bit view)' \
    'differs: C:\windows\System32\oemlogo.bmp is missing (the kit has oemlogo.bmp)' || bad=1
  mv "$p/drive_c/vexilla/Vexilla.INI" "$p/drive_c/vexilla/Vexilla.INI.away" || return 1
  run_ending 2 "$p" no-settings /autobrand /verify || bad=1
  mv "$p/drive_c/vexilla/Vexilla.INI.away" "$p/drive_c/vexilla/Vexilla.INI" || return 1
  return "$bad"
}
check "exit codes: 6 no switch, 4 no backup, 3 differences, 2 no settings file" exit_codes

# ---- 2. /plan changes nothing and names every change ---------------------------------------
plan_check() {
  local before after bad=0
  reg "$p" add "$oem_key" /v Manufacturer /d 'Contoso' /f /reg:64 &&
    reg "$p" add "$oem_key" /v Model /d 'CR-100' /f /reg:64 || return 1
  printf 'BM-contoso-logo' >"$p/$logo"
  saved "$p"
  before=$(state "$p" times)
  run "$p" plan /plan /rem /autobrand /desklnk || bad=1
  saved "$p"
  after=$(state "$p" times)
  same "the saved hive and drive_c (with time stamps) after /plan" "$before" "$after" || bad=1
  has plan '/rem (plan: nothing is changed)' \
    'would take the factory backup in C:\ProgramData\Vexilla\FactoryBackup' \
    'would delete C:\windows\System32\oemlogo.bmp' \
    'would delete Manufacturer (was "Contoso", 64-bit view)' \
    '/autobrand (plan: nothing is changed)' \
    'would copy oemlogo.bmp -> C:\windows\System32\oemlogo.bmp (57,654 bytes)' \
    'would set Manufacturer = "Northwind Systems" (was absent, 64-bit view)' \
    'would set Model = "Northwind Pro 5200" (was absent, 64-bit view)' \
    'exit code 0: every step did its work or had nothing to do' || bad=1
  grep -qF "would create the shortcut $desktop_url -> " "$work/plan.report" ||
    { echo "  the plan does not name the shortcut"; bad=1; }
  # Without /rem first the old values show beside the new ones.
  run "$p" plan-apply /autobrand /plan || bad=1
  has plan-apply 'would set Manufacturer = "Northwind Systems" (was "Contoso", 64-bit view)' \
    'would copy oemlogo.bmp -> C:\windows\System32\oemlogo.bmp (57,654 bytes, replacing a different file)' || bad=1
  return "$bad"
}
check "/plan leaves the hive and every file as they were and names each change" plan_check

# ---- 3. /verify -----------------------------------------------------------------------------
verify_check() {
  local bad=0
  run "$p" apply /autobrand /desklnk || return 1
  run "$p" verify-branded /verify /desklnk || bad=1
  [ "$(differences verify-branded)" -eq 0 ] || bad=1
  has verify-branded 'ok: Manufacturer = "Northwind Systems" (64-bit view)' \
    'ok: C:\windows\System32\oemlogo.bmp is the kit'\''s oemlogo.bmp (57,654 bytes)' || bad=1

  # Five faults at once, each named on its own line.
  reg "$p" add "$oem_key" /v Manufacturer /d 'Contoso' /f /reg:64 &&
    reg "$p" delete "$oem_key" /v SupportPhone /f /reg:64 &&
    reg "$p" add "$oem_key" /v Model /d 'Old 32-bit model' /f /reg:32 || return 1
  rm -f "$p/$logo"
  run_ending 3 "$p" verify-faults /verify || bad=1
  has verify-faults \
    'differs: Manufacturer is "Contoso", the kit gives "Northwind Systems" (64-bit view)' \
    'differs: SupportPhone is absent, the kit gives "(555) 555-0142" (64-bit view)' \
    'differs: the 32-bit view (Wow6432Node) holds Model = "Old 32-bit model", the kit gives "Northwind Pro 5200"' \
    'differs: C:\windows\System32\oemlogo.bmp is missing (the kit has oemlogo.bmp)' || bad=1
  [ "$(differences verify-faults)" -eq 4 ] || { echo "  $(differences verify-faults) differences, expected 4"; bad=1; }
  printf 'BM-another-logo' >"$p/$logo"
  run_ending 3 "$p" verify-logo /verify || bad=1
  has verify-logo 'differs: C:\windows\System32\oemlogo.bmp is not the kit'\''s oemlogo.bmp' || bad=1

  # Applying again mends the 64-bit view and the logo; the 32-bit copy is not Vexilla's to touch.
  run "$p" apply-again /autobrand || bad=1
  run_ending 3 "$p" verify-stray /verify || bad=1
  [ "$(differences verify-stray)" -eq 1 ] || { echo "  $(differences verify-stray) differences, expected 1"; bad=1; }
  reg "$p" delete "$oem_key" /v Model /f /reg:32 || return 1
  run "$p" verify-mended /verify || bad=1
  rm -f "$p/drive_c/users/Public/Desktop/Northwind Support.url"
  run_ending 3 "$p" verify-shortcut /verify /desklnk || bad=1
  has verify-shortcut "differs: the shortcut $desktop_url is missing" || bad=1
  return "$bad"
}
check "/verify passes after /autobrand and catches a changed, a missing and a stray value, a missing and a different logo" \
  verify_check

# ---- 4. /log -----------------------------------------------------------------------------------
log_check() {
  local dir="$p/drive_c/fleet logs/run-1" log bad=0
  mkdir -p "$dir" || return 1
  log="$dir/vexilla -rem.log"
  run "$p" logged /log 'C:\fleet logs\run-1/vexilla -rem.log' /autobrand || bad=1
  run_ending 6 "$p" logged-twice -log 'C:\fleet logs\run-1/vexilla -rem.log' || bad=1
  [ -f "$log" ] || { echo "  no log file"; return 1; }
  tr -d '\r' <"$log" | grep -qx 'unchanged: Manufacturer = "Northwind Systems" (64-bit view)' ||
    { echo "  the log lacks the report:"; sed 's/^/    /' "$log"; bad=1; }
  [ "$(grep -c '^---- ' "$log")" -eq 2 ] || { echo "  not two runs appended:"; sed 's/^/    /' "$log"; bad=1; }
  grep -q '^would \|^deleted ' "$log" && { echo "  something in the path ran as a switch"; bad=1; }
  return "$bad"
}
check "/log with spaces, \"-\" and \"/\" in its path appends the report and starts no switch" log_check

# ---- 5. the console of cmd --------------------------------------------------------------------
# on_console OUT ARGS...: "wine ARGS" on a pseudo-terminal, as in a technician's command prompt:
# Wine then gives cmd a console, which vexilla.exe can attach to. OUT gets what the terminal
# showed, without its control sequences; the status is wine's.
on_console() {
  local out=$1 rc=0 command
  shift
  command="stty cols 250; wine $(printf '%q ' "$@")"
  (cd "$p/drive_c" && WINEPREFIX=$p timeout -k 10 "$(vx_scaled 60)" \
    script -qec "$command" /dev/null) >"$out.raw" 2>&1 || rc=$?
  sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$out.raw" | tr -d '\r' >"$out"
  return "$rc"
}

console_check() {
  local out=$work/console.txt rc=0 bad=0
  on_console "$out" cmd /c start '' /wait 'C:\vexilla\vexilla.exe' /verify /autobran || rc=$?
  [ "$rc" -eq 0 ] || { echo "  cmd /c start /wait ended with $rc, expected vexilla's 0"; bad=1; }
  grep -qx 'skipped: "autobran" is not a switch' "$out" &&
    grep -qx 'ok: Manufacturer = "Northwind Systems" (64-bit view)' "$out" &&
    grep -qx 'exit code 0: every step did its work or had nothing to do' "$out" ||
    { echo "  the report is not on cmd's console:"; sed 's/^/    /' "$out"; bad=1; }
  rc=0
  on_console "$out" cmd /c start '' /wait 'C:\vexilla\vexilla.exe' /autobran || rc=$?
  [ "$rc" -eq 6 ] || { echo "  cmd /c start /wait of /autobran ended with $rc, expected 6"; bad=1; }
  return "$bad"
}
check "the report reaches the console of cmd /c start /wait, and its exit code is cmd's" console_check

kit_script_end fleet win64
