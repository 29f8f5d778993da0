#!/usr/bin/env bash
# tools/bench/headless-start.sh [RUNS]     (a benchmark, not a test; RUNS default 9)
#
# What a headless start of vexilla.exe costs beside the work it does. Under Wine, in one 64-bit
# prefix reporting Windows 7 with the example kit in C:\vexilla, side by side in every round:
#   - "vexilla.exe /autobrand" on a clean system (the branding removed first with /rem, which
#     is not timed): the seven OEM values and the logo;
#   - bare-branding.exe (tools/bench/bare-branding.cpp): the same seven writes in the 64-bit
#     view and the same logo copy to the real System32, and nothing else, once copying with
#     CopyFileA and once with SHFileOperationA as the program's copy routine does;
#   - "vexilla.exe /nothing": a start with a switch that does no work;
#   - exitwith.exe 0: a bare process start;
#   - first-call.exe SERVICE (tools/bench/first-call.cpp): one first call into each service a
#     headless run may reach (registry, debugger channel, message pump, desktop refresh, shell
#     folders, shell links, the waits' clock), printed as its cost over "first-call nothing".
# Wall-clock time of each whole process (Wine's process start included), median of RUNS runs,
# in milliseconds. VX_BASELINE_EXE adds a column for another build of vexilla.exe (e.g. the
# one before a change), measured in the same rounds. Before the rounds, one traced run of each
# exe (WINEDEBUG=+loaddll) lists the DLLs a first apply loads.
#   VX_BUILD_DIR     the cross build with vexilla.exe and tools/ (default build/win32)
#   VX_BASELINE_EXE  another vexilla.exe to measure beside it (optional)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../wine/env.sh
source "$here/../wine/env.sh"
export VX_WINE_TIMEOUT=60

runs=${1:-9}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [RUNS]" >&2; exit 2; }
exe=$VX_BUILD_DIR/vexilla.exe
bare=$VX_BUILD_DIR/tools/bare-branding.exe
first_call=$VX_BUILD_DIR/tools/first-call.exe
services=(nothing registry debugstr tick pump refresh shellfolder shelllink)
baseline=${VX_BASELINE_EXE-}
kit=$VX_REPO_DIR/examples/branding
for file in "$exe" "$bare" "$first_call" "$VX_BUILD_DIR/tools/exitwith.exe" ${baseline:+"$baseline"}; do
  [ -f "$file" ] || { echo "no $file (build the cross targets vexilla, bare-branding, first-call, exitwith)" >&2; exit 1; }
done

prefix=$(vx_new_prefix win64 bench-headless-start) || exit 1
trap 'vx_server_kill "$prefix"; rm -rf "$prefix"' EXIT
vx_set_version "$prefix" win7 || exit 1
mkdir -p "$prefix/drive_c/vexilla" "$prefix/drive_c/baseline" &&
  cp "$exe" "$prefix/drive_c/vexilla/" && cp "$bare" "$first_call" "$prefix/drive_c/vxtools/" &&
  cp -a "$kit/." "$prefix/drive_c/vexilla/" || exit 1
if [ -n "$baseline" ]; then
  # Its own folder with the same kit: the program finds its settings beside itself.
  cp "$baseline" "$prefix/drive_c/baseline/vexilla.exe" && cp -a "$kit/." "$prefix/drive_c/baseline/" || exit 1
fi

WINEPREFIX=$prefix wineserver -p120

run() { vx_wine "$prefix" "$@"; }
vexilla() { run 'C:\vexilla\vexilla.exe' "$@"; }
old_vexilla() { run 'C:\baseline\vexilla.exe' "$@"; }
# "/nothing" names no switch: vexilla.exe ends with 6 since exit codes exist, a baseline without
# them with 0; either is a run that did what it should.
idle() { "$@" /nothing || [ $? -eq 6 ]; }
bare_copy() { run 'C:\vxtools\bare-branding.exe' 'C:\vexilla\Vexilla.INI' 'C:\vexilla\oemlogo.bmp' "$1"; }

# elapsed COMMAND...: runs COMMAND, prints its wall-clock time in whole milliseconds.
elapsed() {
  local start=$EPOCHREALTIME end
  "$@" >/dev/null 2>&1 || echo "warning: '$*' failed" >&2
  end=$EPOCHREALTIME
  echo $(((${end/./} - ${start/./}) / 1000))
}
# clean_then COMMAND...: removes the branding (not timed), then times COMMAND.
clean_then() {
  vexilla /rem >/dev/null 2>&1
  elapsed "$@"
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

ini_value() {
  tr -d '\r' <"$kit/Vexilla.INI" |
    awk -v key="$1" '/^\[/ { inside = (tolower($0) == "[osbranding]"); next }
                     inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}
# A failed step would make the figures meaningless: check that a side did the whole work.
logo64=$prefix/drive_c/windows/system32/oemlogo.bmp
oem='HKLM\Software\Microsoft\Windows\CurrentVersion\OEMInformation'
sanity() {
  local made model
  made=$(vx_reg_get "$prefix" 64 "$oem" Manufacturer)
  model=$(vx_reg_get "$prefix" 64 "$oem" Model)
  [ "$made" = "$(ini_value Mfgr)" ] && [ "$model" = "$(ini_value Model)" ] && cmp -s "$kit/oemlogo.bmp" "$logo64" ||
    { echo "$1 did not brand the 64-bit view and System32 (Manufacturer '$made', Model '$model')" >&2; exit 1; }
}
unbranded() {
  [ ! -e "$logo64" ] && [ -z "$(vx_reg_get "$prefix" 64 "$oem" Manufacturer 2>/dev/null)" ] ||
    { echo "vexilla.exe /rem left the branding in place" >&2; exit 1; }
}
vexilla /autobrand && sanity "vexilla.exe /autobrand"
vexilla /rem && unbranded
for mode in copyfile shellcopy; do
  bare_copy "$mode" && sanity "bare-branding.exe $mode"
  vexilla /rem
done
[ -z "$baseline" ] || { old_vexilla /autobrand && sanity "the baseline /autobrand"; }
for service in "${services[@]}"; do
  run 'C:\vxtools\first-call.exe' "$service" >/dev/null 2>&1 || { echo "first-call.exe $service failed" >&2; exit 1; }
done

# loaded_dlls COMMAND...: the DLLs the process loads, in the order it loads them ("count: names").
# Wine's own processes started meanwhile (wineboot, explorer.exe for a desktop) trace with other
# thread ids: only the lines of the thread that loaded the program (an exe outside C:\windows)
# count.
loaded_dlls() {
  vexilla /rem >/dev/null 2>&1
  (cd "$prefix/drive_c" && WINEPREFIX=$prefix WINEDEBUG=+loaddll timeout 60 wine "$@" 2>&1 >/dev/null) |
    tr -d '\r' | awk -F'"' '/:trace:loaddll:build_module Loaded / {
      thread = substr($1, 1, index($1, ":") - 1)
      path = tolower($2)
      if (main == "" && path ~ /\.exe$/ && path !~ /\\windows\\/) main = thread
      if (main == "" || thread != main) next
      n = split(path, part, "\\"); name = part[n]
      if (name !~ /\.exe$/ && !(name in seen)) { seen[name] = 1; list = list " " name; count++ } }
      END { printf "%d:%s\n", count, list }'
}
declare -A dlls
dlls[vexilla]=$(loaded_dlls 'C:\vexilla\vexilla.exe' /autobrand)
[ -z "$baseline" ] || dlls[baseline]=$(loaded_dlls 'C:\baseline\vexilla.exe' /autobrand)
dlls[copyfile]=$(loaded_dlls 'C:\vxtools\bare-branding.exe' 'C:\vexilla\Vexilla.INI' 'C:\vexilla\oemlogo.bmp' copyfile)
dlls[shellcopy]=$(loaded_dlls 'C:\vxtools\bare-branding.exe' 'C:\vexilla\Vexilla.INI' 'C:\vexilla\oemlogo.bmp' shellcopy)

declare -a v_first v_nothing b_first b_nothing copyfile shellcopy start
declare -A calls
for ((i = 1; i <= runs; i++)); do
  [ ! -t 2 ] || printf '\rround %d of %d' "$i" "$runs" >&2
  v_first+=("$(clean_then vexilla /autobrand)")
  [ -z "$baseline" ] || b_first+=("$(clean_then old_vexilla /autobrand)")
  copyfile+=("$(clean_then bare_copy copyfile)")
  shellcopy+=("$(clean_then bare_copy shellcopy)")
  v_nothing+=("$(elapsed idle vexilla)")
  [ -z "$baseline" ] || b_nothing+=("$(elapsed idle old_vexilla)")
  start+=("$(elapsed run 'C:\vxtools\exitwith.exe' 0)")
  for service in "${services[@]}"; do
    calls[$service]+=" $(elapsed run 'C:\vxtools\first-call.exe' "$service")"
  done
done
[ ! -t 2 ] || printf '\r%*s\r' 20 '' >&2
vexilla /rem >/dev/null 2>&1
vexilla /autobrand && sanity "the last round"

first=$(median "${v_first[@]}")
bare_file=$(median "${copyfile[@]}")
bare_shell=$(median "${shellcopy[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "# Headless start under Wine: median wall-clock ms of $runs runs, each a whole process"
echo "# $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(wine --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"
row() { printf '%-46s %12s %12s\n' "$@"; }
row "" "vexilla.exe" "${baseline:+baseline}"
row "first apply (/autobrand, clean system)" "$first" "${baseline:+$(median "${b_first[@]}")}"
row "a switch that does nothing (/nothing)" "$(median "${v_nothing[@]}")" "${baseline:+$(median "${b_nothing[@]}")}"
row "bare-branding.exe copyfile" "$bare_file" ""
row "bare-branding.exe shellcopy" "$bare_shell" ""
row "process start only (exitwith.exe 0)" "$(median "${start[@]}")" ""
row "first apply / bare copyfile" "$(ratio "$first" "$bare_file")" "${baseline:+$(ratio "$(median "${b_first[@]}")" "$bare_file")}"
row "first apply / bare shellcopy" "$(ratio "$first" "$bare_shell")" "${baseline:+$(ratio "$(median "${b_first[@]}")" "$bare_shell")}"
echo "# The first call into each service: median ms of the whole process, and over \"nothing\""
read -ra series <<<"${calls[nothing]}"
nothing=$(median "${series[@]}")
for service in "${services[@]}"; do
  read -ra series <<<"${calls[$service]}"
  took=$(median "${series[@]}")
  printf '%-46s %12s %12s\n' "first-call.exe $service" "$took" "$((took - nothing))"
done
echo "# DLLs loaded by the 32-bit process (count: names in load order)"
for side in vexilla baseline copyfile shellcopy; do
  if [ -n "${dlls[$side]-}" ]; then printf '%-10s %s\n' "$side" "${dlls[$side]}"; fi
done
