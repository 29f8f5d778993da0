#!/usr/bin/env bash
# End-to-end: a kit saved by today's Notepad (UTF-8 with its byte-order mark) on a 64-bit prefix
# reporting Windows 10 with a Western code page, naming "Müller Systemtechnik", "株式会社テスト"
# and "Ångström Data" (the last two beyond the code page or outside ASCII).
#   1. /autobrand /desklnk: the saved hive holds each name as its characters (Wine writes them
#      as \x escapes of their UTF-16 units), SupportProvider and SupportAppURL are written on
#      Windows 10, the shortcut carries the Japanese name, the report shows the names whole.
#   2. /verify finds everything in place; /rem removes the values and the shortcut again.
#   3. The same kit without its mark is read as UTF-8 too; a kit in code page 1252 with the
#      same Latin names stores the very same characters.
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

kit_script_begin unicode
new_kit_prefix win64 e2e-unicode win10 && p=$prefix || exit 1

oem_key='Software\Microsoft\Windows\CurrentVersion\OEMInformation'
ini=$p/drive_c/vexilla/Vexilla.INI
desktop=$p/drive_c/users/Public/Desktop
mark=$'\xef\xbb\xbf'

# unicode_kit [MARK]: the example kit's settings with the three names, in UTF-8.
unicode_kit() {
  printf '%s' "${1-}" >"$ini.new" &&
    sed -e $'s/^Mfgr=.*\r$/Mfgr=Müller Systemtechnik\r/' \
      -e $'s/^Model=.*\r$/Model=株式会社テスト\r\\nSupportProvider=Ångström Data\r\\nSupportAppURL=angstrom-help:open\r/' \
      -e $'s/^ShortcutName=.*\r$/ShortcutName=株式会社テスト\r/' \
      "$kit/Vexilla.INI" >>"$ini.new" && mv "$ini.new" "$ini" &&
    grep -q $'^Model=株式会社テスト\r$' "$ini" || { echo "  cannot write $ini"; return 1; }
}

# The hive line of a value, as Wine writes a string with characters beyond ASCII.
expect_value() {
  tree "$p" "$oem_key" | grep -qxF -- "[] $1" && return 0
  echo "  no line '$1' under $oem_key:"
  tree "$p" "$oem_key" | sed 's/^/    /'
  return 1
}

apply_check() {
  local bad=0
  unicode_kit "$mark" || return 1
  run "$p" apply /autobrand /desklnk || return 1
  has apply 'set Manufacturer = "Müller Systemtechnik" (was absent, 64-bit view)' \
    'set Model = "株式会社テスト" (was absent, 64-bit view)' \
    'set SupportProvider = "Ångström Data" (was absent, 64-bit view)' || bad=1
  saved "$p"
  expect_value '"Manufacturer"="M\xfcller Systemtechnik"' || bad=1
  expect_value '"Model"="\x682a\x5f0f\x4f1a\x793e\x30c6\x30b9\x30c8"' || bad=1
  expect_value '"SupportProvider"="\xc5ngstr\xf6m Data"' || bad=1
  expect_value '"SupportAppURL"="angstrom-help:open"' || bad=1
  [ -f "$desktop/株式会社テスト.url" ] && grep -q '^URL=https://support.example.com/' "$desktop/株式会社テスト.url" ||
    { echo "  no shortcut $desktop/株式会社テスト.url:"; ls "$desktop" | sed 's/^/    /'; bad=1; }
  return "$bad"
}
check "/autobrand /desklnk: each name stored as its characters, the shortcut named in Japanese" apply_check

verify_and_remove_check() {
  local bad=0
  run "$p" verify /verify /desklnk || bad=1
  has verify 'ok: Model = "株式会社テスト" (64-bit view)' || bad=1
  run "$p" remove /rem || return 1
  saved "$p"
  ! tree "$p" "$oem_key" | grep -q '"\(Manufacturer\|Model\|SupportProvider\|SupportAppURL\)"' ||
    { echo "  left after /rem:"; tree "$p" "$oem_key" | sed 's/^/    /'; bad=1; }
  no_file "$desktop/株式会社テスト.url" || bad=1
  return "$bad"
}
check "/verify finds every name in place; /rem removes the values and the shortcut" verify_and_remove_check

encodings_check() {
  local bad=0
  unicode_kit || return 1
  run "$p" no-mark /autobrand || return 1
  has no-mark 'set Model = "株式会社テスト" (was absent, 64-bit view)' || bad=1
  # Code page 1252: the Latin names only, as earlier releases read them.
  sed -i -e $'s/^Model=.*\r$/Model=Ångström Data\r/' \
    -e $'s/^ShortcutName=.*\r$/ShortcutName=Northwind Support\r/' "$ini" &&
    iconv -f UTF-8 -t CP1252 "$ini" >"$ini.1252" 2>/dev/null && mv "$ini.1252" "$ini" ||
    { echo "  cannot write the code page 1252 kit"; return 1; }
  run "$p" ansi /autobrand || return 1
  saved "$p"
  expect_value '"Manufacturer"="M\xfcller Systemtechnik"' || bad=1
  expect_value '"Model"="\xc5ngstr\xf6m Data"' || bad=1
  return "$bad"
}
check "without its mark the kit is still UTF-8; a code page 1252 kit stores the same characters" encodings_check

kit_script_end unicode win64
