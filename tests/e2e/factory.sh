#!/usr/bin/env bash
# End-to-end: the factory backup, /restore and the limits of removal, with the real vexilla.exe
# under Wine and the example kit in C:\vexilla (a second kit, another manufacturer and logo, in
# C:\vexilla2).
#   A refurbished Windows 7 (64-bit prefix): the vendor's OEM values in both registry views and
#     its logo. /autobrand, /autobrand of the second kit, /desklnk, /rem, /restore: the whole
#     saved system hive and every file of drive_c are as they were; a second /restore changes
#     nothing.
#   The same on Windows XP (64-bit prefix), with the vendor's oeminfo.ini and OEM link class.
#   A shortcut icon named like a Windows file (win.ini, explorer.exe), with and without such a
#     file in the kit: /desklnk then /rem leave the Windows file as it was.
# One PASS or FAIL line per check; the exit status is non-zero when any check failed.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_E2E_KEEP=1  keep the captured lines and the prefixes when all pass
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../tools/wine/env.sh
source "$here/../../tools/wine/env.sh"
# shellcheck source=lib/checks.sh
source "$here/lib/checks.sh"
# shellcheck source=lib/kit.sh
source "$here/lib/kit.sh"
# Every run here takes seconds (autobrand's pause after deleting an old logo is 2 s).
export VX_WINE_TIMEOUT=30

kit_script_begin factory

oem_key='HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation'
link_key='HKCR\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}'
backup_line='FactoryBackup: taken in C:\ProgramData\Vexilla\FactoryBackup'

# second_kit PREFIX: C:\vexilla2, the example kit with another manufacturer and logo.
second_kit() {
  local dir=$1/drive_c/vexilla2
  mkdir -p "$dir" && cp -a "$1/drive_c/vexilla/." "$dir/" &&
    sed -i 's/^Mfgr=.*\r$/Mfgr=Fabrikam Refurbished\r/' "$dir/Vexilla.INI" &&
    printf 'BM-fabrikam-logo' >"$dir/oemlogo.bmp"
}

# lines_with FILE TEXT COUNT
lines_with() {
  local got
  got=$(grep -cF -- "$2" "$1")
  [ "$got" -eq "$3" ] && return 0
  echo "  \"$2\" on $got line(s) of $1, expected $3"
  return 1
}

# round_trip PREFIX NAME: both kits applied, the shortcut dropped, the branding removed, the
# factory state restored; the state must end as it began, and a second restore does nothing.
round_trip() {
  local prefix=$1 name=$2 before after bad=0
  second_kit "$prefix" || return 1
  saved "$prefix"
  before=$(state "$prefix")
  run "$prefix" "$name-autobrand" /autobrand || return 1
  lines_with "$work/$name-autobrand.txt" "$backup_line" 1 || bad=1
  [ -f "$prefix/drive_c/ProgramData/Vexilla/FactoryBackup/factory.reg" ] ||
    { echo "  no factory.reg in the backup folder"; bad=1; }
  vx_capture "$prefix" "$work/$name-autobrand2.txt" 'C:\vexilla2\vexilla.exe' /autobrand ||
    { echo "  the second kit's /autobrand failed"; bad=1; }
  lines_with "$work/$name-autobrand2.txt" 'FactoryBackup: found the backup taken' 1 || bad=1
  run "$prefix" "$name-desklnk-rem" /desklnk /rem || bad=1
  saved "$prefix"
  [ "$before" != "$(state "$prefix")" ] || { echo "  nothing changed: the restore proves nothing"; bad=1; }
  run "$prefix" "$name-restore" /restore || return 1
  lines_with "$work/$name-restore.txt" 'FactoryBackup: the factory state is back; the backup was removed' 1 || bad=1
  saved "$prefix"
  after=$(state "$prefix")
  same "the saved hive and drive_c after /restore" "$before" "$after" || bad=1
  run_ending 4 "$prefix" "$name-restore-again" /restore || return 1
  lines_with "$work/$name-restore-again.txt" 'FactoryBackup: there is no backup; nothing was restored' 1 || bad=1
  saved "$prefix"
  same "the state after a second /restore" "$before" "$(state "$prefix")" || bad=1
  return "$bad"
}

# ==== Windows 7, 64-bit prefix =================================================================
new_kit_prefix win64 e2e-factory-win7 win7 && win7=$prefix || exit 1

win7_refurbished() {
  reg "$win7" add "$oem_key" /v Manufacturer /d 'Contoso Refurb' /f /reg:64 &&
    reg "$win7" add "$oem_key" /v Model /d 'CR-100' /f /reg:64 &&
    reg "$win7" add "$oem_key" /v Logo /t REG_EXPAND_SZ /d '%SystemRoot%\System32\oemlogo.bmp' /f /reg:64 &&
    reg "$win7" add "$oem_key" /v VendorTag /t REG_BINARY /d 0102 /f /reg:64 &&
    reg "$win7" add "$oem_key" /v Manufacturer /d 'Contoso (32-bit view)' /f /reg:32 || return 1
  printf 'BM-contoso-factory-logo' >"$win7/drive_c/windows/system32/oemlogo.bmp"
  round_trip "$win7" win7
}
check "Windows 7, 64-bit: a refurbished machine is byte for byte as it was after two kits, /rem and /restore" \
  win7_refurbished

# icon_named PREFIX NAME WITH-KIT-FILE: ShortcutIcon=NAME, -desklnk -rem; the Windows file stays.
icon_named() {
  local prefix=$1 name=$2 ini=$1/drive_c/vexilla/Vexilla.INI file before bad=0
  file=$(find "$prefix/drive_c/windows" -maxdepth 1 -iname "$name" | head -n1)
  [ -n "$file" ] || { echo "  no $name in C:\\windows of the prefix"; return 1; }
  before=$(sha256sum <"$file")
  sed -i "s/^ShortcutIcon=.*\r\$/ShortcutIcon=$name\r/" "$ini" || return 1
  rm -f "$prefix/drive_c/vexilla/$name"
  [ "$3" = with ] && printf 'the kit'"'"'s own %s' "$name" >"$prefix/drive_c/vexilla/$name"
  run "$prefix" "icon-$name-$3" -desklnk -rem || bad=1
  [ -f "$file" ] || { echo "  $file was deleted"; return 1; }
  [ "$before" = "$(sha256sum <"$file")" ] || { echo "  $file was changed"; bad=1; }
  lines_with "$work/icon-$name-$3.txt" "was not placed by Vexilla: it stays" 1 || bad=1
  rm -f "$prefix/drive_c/vexilla/$name"
  return "$bad"
}
for name in win.ini explorer.exe; do
  for kit_file in with without; do
    check "Windows 7: ShortcutIcon=$name ($kit_file such a file in the kit): /desklnk then /rem leave the Windows file" \
      icon_named "$win7" "$name" "$kit_file"
  done
done
vx_server_kill "$win7"

# ==== Windows XP, 64-bit prefix ================================================================
new_kit_prefix win64 e2e-factory-xp winxp && xp=$prefix || exit 1

xp_refurbished() {
  reg "$xp" add "$link_key" /ve /d 'Contoso Help' /f /reg:64 &&
    reg "$xp" add "$link_key\\InProcServer32" /ve /t REG_EXPAND_SZ /d '%SystemRoot%\system32\shdocvw.dll' /f /reg:64 &&
    reg "$xp" add "$link_key\\VendorOnly" /v Flag /t REG_DWORD /d 7 /f /reg:64 || return 1
  printf '[General]\r\nManufacturer=Contoso\r\n' >"$xp/drive_c/windows/system32/oeminfo.ini"
  printf 'BM-contoso-factory-logo' >"$xp/drive_c/windows/system32/oemlogo.bmp"
  round_trip "$xp" xp
}
check "Windows XP, 64-bit: oeminfo.ini, the logo and the OEM link class are as they were after /restore" \
  xp_refurbished
vx_server_kill "$xp"

kit_script_end factory win64
