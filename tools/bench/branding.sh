#!/usr/bin/env bash
# tools/bench/branding.sh [RUNS]     (a benchmark, not a test; RUNS default 7)
#
# Under Wine, in one 64-bit prefix reporting Windows 7 with the example kit in C:\vexilla:
# "vexilla.exe /autobrand" and "/rem" side by side with the same work scripted the way admins do
# it from a 64-bit command prompt: "reg import" of an equivalent .reg file plus "copy" of the
# logo, and "reg delete" of the six values plus "del" of the logo. Wall-clock time of each whole
# process (Wine's process start included), median of RUNS runs, in milliseconds.
#
# Autobrand leaves a logo that is already the kit's alone, but deletes another one and waits 2 s
# before copying the kit's, so it is measured three times: on a clean system (no logo yet),
# again with the same kit, and over another logo. "/verify" of the branded system beside them.
# Every round runs: vexilla /rem, /autobrand (clean), /autobrand (again), /verify, /autobrand
# (another logo), then the scripted removal, apply (clean), apply (again); each side starts from
# a branded system.
#   VX_BUILD_DIR   the cross build with vexilla.exe and tools/ (default build/win32)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../wine/env.sh
source "$here/../wine/env.sh"
export VX_WINE_TIMEOUT=60

runs=${1:-7}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [RUNS]" >&2; exit 2; }
exe=$VX_BUILD_DIR/vexilla.exe
kit=$VX_REPO_DIR/examples/branding
[ -f "$exe" ] || { echo "no $exe (build the cross target vexilla)" >&2; exit 1; }
[ -f "$VX_BUILD_DIR/tools/exitwith.exe" ] || { echo "no exitwith.exe in $VX_BUILD_DIR/tools" >&2; exit 1; }
# The scripted side runs in a 64-bit process, as an admin's script on 64-bit Windows does: from
# the 32-bit loader, C:\windows\system32 would be syswow64 and "reg import" the 32-bit view.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine64" ] || { echo "no wine64 loader (looked for wine64 and /usr/lib/wine/wine64)" >&2; exit 1; }

prefix=$(vx_new_prefix win64 bench-branding) || exit 1
trap 'vx_server_kill "$prefix"; rm -rf "$prefix"' EXIT
vx_set_version "$prefix" win7 || exit 1
mkdir -p "$prefix/drive_c/vexilla" "$prefix/drive_c/bench" && cp "$exe" "$prefix/drive_c/vexilla/" &&
  cp -a "$kit/." "$prefix/drive_c/vexilla/" || exit 1

# ini_value SECTION KEY: a value of the kit's Vexilla.INI.
ini_value() {
  tr -d '\r' <"$kit/Vexilla.INI" |
    awk -v section="[$1]" -v key="$2" '
      /^\[/ { inside = (tolower($0) == tolower(section)); next }
      inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}
# A .reg string: backslashes and quotes escaped.
reg_string() { local s=${1//\\/\\\\}; printf '"%s"' "${s//\"/\\\"}"; }

oem='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\OEMInformation'
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "$oem"
  printf '"HelpCustomized"=dword:00000000\r\n'
  printf '"Logo"=%s\r\n' "$(reg_string 'C:\windows\System32\oemlogo.bmp')"
  printf '"Manufacturer"=%s\r\n' "$(reg_string "$(ini_value OSBranding Mfgr)")"
  printf '"SupportHours"=%s\r\n' "$(reg_string "$(ini_value OSBranding Hours)")"
  printf '"SupportPhone"=%s\r\n' "$(reg_string "$(ini_value OSBranding Phone)")"
  printf '"SupportURL"=%s\r\n' "$(reg_string "$(ini_value OSBranding URL)")"
  printf '"Model"=%s\r\n' "$(reg_string "$(ini_value OSBranding Model)")"
} >"$prefix/drive_c/bench/oem.reg" || exit 1
apply_script='reg import C:\bench\oem.reg & copy /y C:\vexilla\oemlogo.bmp C:\windows\system32\oemlogo.bmp >nul'
remove_script=''
for value in Logo Manufacturer SupportHours SupportPhone SupportURL Model; do
  remove_script+="reg delete \"$oem\" /v $value /f >nul & "
done
remove_script+='del C:\windows\system32\oemlogo.bmp'

WINEPREFIX=$prefix wineserver -p120

vexilla() { vx_wine "$prefix" 'C:\vexilla\vexilla.exe' "$@"; }
scripted() { (cd "$prefix/drive_c" && WINEPREFIX=$prefix timeout 60 "$wine64" cmd /c "$1") >/dev/null 2>&1; }

# elapsed COMMAND...: runs COMMAND, prints its wall-clock time in whole milliseconds.
elapsed() {
  local start=$EPOCHREALTIME end
  "$@" >/dev/null 2>&1 || echo "warning: '$*' failed" >&2
  end=$EPOCHREALTIME
  echo $(((${end/./} - ${start/./}) / 1000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# A failed step would make the figures meaningless: check once that both sides do the work.
logo64=$prefix/drive_c/windows/system32/oemlogo.bmp
sanity() {
  local made
  made=$(vx_reg_get "$prefix" 64 'HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation' Manufacturer)
  [ "$made" = "$(ini_value OSBranding Mfgr)" ] && cmp -s "$kit/oemlogo.bmp" "$logo64" ||
    { echo "$1 did not brand the 64-bit view and System32 (Manufacturer '$made')" >&2; exit 1; }
}
scripted "$apply_script" && sanity "the scripted apply"
scripted "$remove_script"
[ ! -e "$logo64" ] || { echo "the scripted removal left the logo" >&2; exit 1; }
vexilla /autobrand >/dev/null && sanity "vexilla.exe /autobrand"

declare -a v_rem v_first v_again v_replace v_verify s_rem s_first s_again p32 p64
for ((i = 1; i <= runs; i++)); do
  [ ! -t 2 ] || printf '\rround %d of %d' "$i" "$runs" >&2
  v_rem+=("$(elapsed vexilla /rem)")
  v_first+=("$(elapsed vexilla /autobrand)")
  v_again+=("$(elapsed vexilla /autobrand)")
  v_verify+=("$(elapsed vexilla /verify)")
  printf 'BM-another-logo' >"$logo64"
  v_replace+=("$(elapsed vexilla /autobrand)")
  s_rem+=("$(elapsed scripted "$remove_script")")
  s_first+=("$(elapsed scripted "$apply_script")")
  s_again+=("$(elapsed scripted "$apply_script")")
  p32+=("$(elapsed vx_wine "$prefix" 'C:\vxtools\exitwith.exe' 0)")
  p64+=("$(elapsed scripted 'exit 0')")
done
[ ! -t 2 ] || printf '\r%*s\r' 20 '' >&2
sanity "the last round"

first=$(median "${v_first[@]}")
again=$(median "${v_again[@]}")
echo "# Branding under Wine: median wall-clock ms of $runs runs, each a whole process"
echo "# $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(wine --version)"
printf '%-44s %14s %20s\n' "" "vexilla.exe" "reg + copy (cmd)"
printf '%-44s %14s %20s\n' "apply, clean system (no old logo)" "$first" "$(median "${s_first[@]}")"
printf '%-44s %14s %20s\n' "apply again, same kit (logo unchanged)" "$again" "$(median "${s_again[@]}")"
printf '%-44s %14s %20s\n' "  again / clean" "$(awk -v a="$again" -v f="$first" 'BEGIN { printf "%.2f", a / f }')" "-"
replace=$(median "${v_replace[@]}")
printf '%-44s %14s %20s\n' "apply, another logo there (deleted, pause)" "$replace" "-"
printf '%-44s %14s %20s\n' "  of which autobrand's pause (that - clean)" "$((replace - first))" "-"
printf '%-44s %14s %20s\n' "verify a branded system (/verify)" "$(median "${v_verify[@]}")" "-"
printf '%-44s %14s %20s\n' "remove (/rem; reg delete x6 + del)" "$(median "${v_rem[@]}")" "$(median "${s_rem[@]}")"
printf '%-44s %14s %20s\n' "process start only (exitwith.exe; cmd exit)" "$(median "${p32[@]}")" "$(median "${p64[@]}")"
