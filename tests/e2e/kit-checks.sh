#!/usr/bin/env bash
# End-to-end: what the real vexilla.exe under Wine checks in a kit before it uses it (a 64-bit
# prefix reporting Windows 7, the example kit in C:\vexilla).
#   1. The example logo (120 x 120, 32-bit colour): /plan /autobrand names its size and colour
#      depth and warns of nothing.
#   2. A logo that is not a bitmap: /plan, /autobrand and /verify each warn of it, the run still
#      ends with 0 and the file is copied into System32 as it is. SupportProvider and
#      SupportAppURL of the same kit are not written before Windows 10, and the report says so.
#   3. A prefix without Internet Explorer: /desklnk with UseIE=1 writes the Internet shortcut,
#      makes no .lnk, and says why on the report and the diagnostic channel.
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

kit_script_begin kit-checks
new_kit_prefix win64 e2e-kit-checks win7 && p=$prefix || exit 1

oem_key='Software\Microsoft\Windows\CurrentVersion\OEMInformation'
logo=$p/drive_c/windows/system32/oemlogo.bmp
ini=$p/drive_c/vexilla/Vexilla.INI
shortcut=$p/drive_c/users/Public/Desktop/'Northwind Support'
not_bmp='warning: oemlogo.bmp is not a BMP file: System Properties may not show it'

example_logo() {
  run "$p" plan-example /plan /autobrand || return 1
  has plan-example 'oemlogo.bmp: 120 x 120, 32-bit colour' || return 1
  ! tr -d '\r' <"$work/plan-example.report" | grep -q '^warning: ' ||
    { echo "  a warning for the example logo:"; sed 's/^/    /' "$work/plan-example.report"; return 1; }
}
check "the example logo: its size and colour depth, and no warning" example_logo

not_a_bitmap() {
  local bad=0 name
  printf 'GIF89a this is not a bitmap' >"$p/drive_c/vexilla/oemlogo.bmp"
  # Two keys for Windows 10 and later, right after the section's name.
  sed -i $'s/^\\[OSBranding\\]\r$/[OSBranding]\r\\nSupportProvider=Northwind Care\r\\nSupportAppURL=northwind-help:open\r/' "$ini" &&
    grep -q $'^SupportProvider=Northwind Care\r$' "$ini" || { echo "  cannot edit $ini"; return 1; }
  run "$p" plan-gif /plan /autobrand || bad=1
  run "$p" apply-gif /autobrand || bad=1
  run "$p" verify-gif /verify || bad=1
  for name in plan-gif apply-gif verify-gif; do has "$name" "$not_bmp" || bad=1; done
  grep -qF "modBranding\\ApplyBranding: ${not_bmp}" "$work/apply-gif.txt" ||
    { echo "  the warning is not on the diagnostic channel ($work/apply-gif.txt)"; bad=1; }
  has apply-gif 'skipped: SupportProvider and SupportAppURL: Windows 10 and later only' || bad=1
  same_file "$p/drive_c/vexilla/oemlogo.bmp" "$logo" || bad=1
  saved "$p"
  ! tree "$p" "$oem_key" | grep -q 'Support\(Provider\|AppURL\)' ||
    { echo "  written before Windows 10:"; tree "$p" "$oem_key" | sed 's/^/    /'; bad=1; }
  return "$bad"
}
check "a logo that is no bitmap: warned of by /plan, /autobrand and /verify, and still copied" not_a_bitmap

no_internet_explorer() {
  local bad=0 place
  rm -f "$p/drive_c/Program Files (x86)/Internet Explorer/iexplore.exe" \
    "$p/drive_c/Program Files/Internet Explorer/iexplore.exe"
  rm -f "$shortcut.url" "$shortcut.lnk"
  sed -i 's/^UseIE=0\r$/UseIE=1\r/' "$ini" && grep -q $'^UseIE=1\r$' "$ini" ||
    { echo "  cannot set UseIE=1 in $ini"; return 1; }
  run "$p" desklnk-no-ie /desklnk || return 1
  place='C:\Program Files (x86)\Internet Explorer\iexplore.exe'
  has desklnk-no-ie "skipped: the shortcut C:\\users\\Public\\Desktop\\Northwind Support.lnk: Internet Explorer is not installed (no $place): an Internet shortcut is written instead" || bad=1
  grep -qF "UseIE=1 but Internet Explorer is not installed (no $place)" "$work/desklnk-no-ie.txt" ||
    { echo "  the reason is not on the diagnostic channel ($work/desklnk-no-ie.txt)"; bad=1; }
  [ -f "$shortcut.url" ] && grep -q '^URL=https://support.example.com/' "$shortcut.url" ||
    { echo "  no Internet shortcut at $shortcut.url"; bad=1; }
  no_file "$shortcut.lnk" || bad=1
  return "$bad"
}
check "no Internet Explorer: /desklnk with UseIE=1 writes the .url and says why" no_internet_explorer

kit_script_end kit-checks win64
